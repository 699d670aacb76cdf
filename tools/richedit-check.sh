#!/usr/bin/env bash
# Checks that a RichEdit control (Wine's riched20, standing in for the one the
# simulators read our texts with) reads our RTF as we do. Each input goes
# through our writer (rtfcat --rtf); that RTF is listed by our reader
# (rtfcat --runs) and by tools/richedit/richedit_dump.exe under Wine, and the
# two listings are compared: the text, then each run's look, then the
# pictures each reader shows. With no input files, the samples of
# tools/richedit/samples/, the RTF fixtures of tests/document/rtf/fixtures/
# and the exercise of tools/screenshots/ are checked.
#
# Wine's control ignores raised and lowered characters (\up, \dn) and
# protected ones (\protect): those are left out of the comparison. It reads a
# space in a Symbol-font run as U+F020, which that font draws as a space.
#
# usage: tools/richedit-check.sh [--strict-pictures] [BUILD_DIR [FILE.rtf ...]]
#   BUILD_DIR  where rtfcat is built (default: build-check); the harness and
#              its Wine prefix are made in BUILD_DIR/richedit/
#   --strict-pictures  pictures that differ fail the check too
# Installs wine, mingw-w64 and Xvfb when missing. Exit status: 0 when every
# text matches, 1 when some text differs (or, with --strict-pictures, some
# pictures), 2 on error.

set -u

root=$(cd "$(dirname "$0")/.." && pwd)
strict_pictures=0
if [ "${1:-}" = "--strict-pictures" ]; then
    strict_pictures=1
    shift
fi
build=$(cd "${1:-$root/build-check}" 2>/dev/null && pwd) || {
    echo "richedit-check: no build folder ${1:-$root/build-check}" >&2
    exit 2
}
[ $# -gt 0 ] && shift

fail() {
    echo "richedit-check: $*" >&2
    exit 2
}

install_missing() {
    local packages=(wine wine64 g++-mingw-w64-x86-64 xvfb) missing=() package
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq &&
        DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
            --no-install-recommends "${missing[@]}" >/dev/null
}

install_missing || fail "cannot install wine, mingw-w64 and Xvfb"

rtfcat="$build/tools/rtfcat"
if [ ! -x "$rtfcat" ]; then
    cmake --build "$build" --target rtfcat >/dev/null || fail "cannot build rtfcat in $build"
fi

out="$build/richedit"
mkdir -p "$out"
harness="$out/richedit_dump.exe"
source_file="$root/tools/richedit/richedit_dump.cpp"
if [ ! -x "$harness" ] || [ "$source_file" -nt "$harness" ]; then
    x86_64-w64-mingw32-g++ -std=c++17 -O1 -Wall -Wextra -municode -static -static-libgcc \
        -static-libstdc++ -o "$harness" "$source_file" -lole32 -lgdi32 ||
        fail "cannot build the harness"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/richedit-check.XXXXXX")
xvfb_pid=""
wine_started=0
cleanup() {
    # The Wine server of our prefix would outlive us, bound to our display.
    [ $wine_started -eq 1 ] && wineserver -k 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 2' INT TERM

if [ -z "${DISPLAY:-}" ]; then
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 50); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    DISPLAY=":$(cat "$work/display")"
    export DISPLAY
fi
export WINEPREFIX="$out/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export QT_QPA_PLATFORM=offscreen
# Qt warns on every start without one.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
fi
wine_started=1
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot failed: $(cat "$work/wineboot.log")"
fi
# One Wine server for every file: each start of the harness is then quick.
wineserver -p 60

# Runs without the looks Wine does not read, and without the pictures, which
# are compared apart; runs then alike are joined.
comparable_runs() {
    sed 's/\xef\x80\xa0/ /g' "$1" | awk '
        function flush() { if (key != "") print key " text=\"" text "\""; key = "" }
        /^[IO] / { next }
        /^R / {
            at = index($0, " text=\"")
            k = substr($0, 1, at - 1)
            sub(/ offset=-?[0-9]+/, "", k); sub(/ prot=[01]/, "", k)
            t = substr($0, at + 7); t = substr(t, 1, length(t) - 1)
            if (k == key) { text = text t; next }
            flush(); key = k; text = t; next
        }
        { flush(); print }
        END { flush() }
    '
}

# One line per paragraph: its text.
paragraph_texts() {
    awk '
        /^P / { if (started) print text; started = 1; text = ""; next }
        /^R / { at = index($0, " text=\""); t = substr($0, at + 7)
                text = text substr(t, 1, length(t) - 1) }
        END { if (started) print text }
    ' "$1"
}

# The pictures a listing shows, as WIDTHxHEIGHT in whole pixels.
pictures() {
    awk '
        /^I / { split($2, w, "="); split($3, h, "=") }
        /^O / { split($4, w, "="); split($5, h, "=") }
        /^[IO] / { printf "%s%.0fx%.0f", sep, w[2], h[2]; sep = " " }
    ' "$1"
}

short_diff() {
    diff -u --label "ours" --label "Wine" "$1" "$2" | tail -n +3 | head -n 12 | sed 's/^/    /'
}

status=0
checked=0
check() {
    local input=$1 name dir ours_pictures wine_pictures verdict
    name=$(basename "$input" .rtf)
    # Inputs of one name from two folders keep apart.
    checked=$((checked + 1))
    dir="$work/$checked-$name"
    mkdir -p "$dir"
    if ! "$rtfcat" --rtf "$input" >"$dir/ours.rtf" 2>"$dir/rtfcat.log" ||
        ! "$rtfcat" --runs "$dir/ours.rtf" >"$dir/ours.runs" 2>>"$dir/rtfcat.log"; then
        echo "error    $name: rtfcat failed: $(cat "$dir/rtfcat.log")"
        status=2
        return
    fi
    if ! (cd "$dir" && wine "$harness" ours.rtf >wine.runs 2>harness.log); then
        echo "error    $name: the harness failed: $(grep -v wine32 "$dir/harness.log")"
        status=2
        return
    fi
    comparable_runs "$dir/ours.runs" >"$dir/ours.cmp"
    comparable_runs "$dir/wine.runs" >"$dir/wine.cmp"
    paragraph_texts "$dir/ours.cmp" >"$dir/ours.txt"
    paragraph_texts "$dir/wine.cmp" >"$dir/wine.txt"
    ours_pictures=$(pictures "$dir/ours.runs")
    wine_pictures=$(pictures "$dir/wine.runs")

    if ! cmp -s "$dir/ours.txt" "$dir/wine.txt"; then
        verdict="differs  $name: text"
        [ $status -lt 1 ] && status=1
    elif ! cmp -s "$dir/ours.cmp" "$dir/wine.cmp"; then
        verdict="differs  $name: formats"
    else
        verdict="ok       $name"
    fi
    if [ "$ours_pictures" != "$wine_pictures" ]; then
        verdict="$verdict; pictures differ"
        [ $strict_pictures -eq 1 ] && [ $status -lt 1 ] && status=1
    fi
    echo "$verdict"
    echo "    pictures: ours $(wc -w <<<"$ours_pictures") [$ours_pictures]," \
        "Wine $(wc -w <<<"$wine_pictures") [$wine_pictures]"
    case "$verdict" in
    *": text"*) short_diff "$dir/ours.txt" "$dir/wine.txt" ;;
    *": formats"*) short_diff "$dir/ours.cmp" "$dir/wine.cmp" ;;
    esac
}

if [ $# -eq 0 ]; then
    set -- "$root"/tools/richedit/samples/*.rtf "$root"/tests/document/rtf/fixtures/*.rtf \
        "$root"/tools/screenshots/*.rtf
fi
echo "note: raised and lowered characters and protection are not compared (Wine ignores them)"
for input in "$@"; do
    check "$input"
done
exit $status
