#!/usr/bin/env bash
# Builds the benchmark in release mode, generates 1 MB and 10 MB documents of
# three kinds (exercise-like, long prose, formula-dense), and times our reading
# beside unrtf and LibreOffice on the same files, three runs each, min and
# median (those two only where installed: apt-get install unrtf
# libreoffice-writer-nogui; LibreOffice on 1 MB only). Then the main window's
# figures: start-up, "Ouvrir" to the first paint, the layout after it,
# keystrokes, bold on everything, switching statement and correction; then
# the same for statements holding photos (JPEG and PNG), saved and printed.
# Then opens hostile files, each made to cost far more than its size; every one
# should open, or be refused (too tall, or too slow to lay out), in under 2 s per MB and 30 times
# its size in memory.
#
#   bash bench/run.sh [HOSTILE_MEGABYTES]     (0.5 by default; 0 skips them)
#   REDIGO_BENCH_BUILD=build-mine bash bench/run.sh   builds in another folder
set -euo pipefail
cd "$(dirname "$0")/.."
build=${REDIGO_BENCH_BUILD:-build-release}
hostile_megabytes=${1:-0.5}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" --target rtf_bench > /dev/null
bench=$build/bench/rtf_bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

peak() { # seconds and peak memory of one command
    /usr/bin/time -f '%e s, %M KB peak' "$@" > /dev/null 2> "$work/time" || true
    tail -n 1 "$work/time"
}

# Each figure three times: the machine is shared, so min and median.
spread() { # numbers on stdin -> "min X, median Y"
    sort -g | awk '{ v[NR] = $1 } END { printf "min %8.3f, median %8.3f", v[1], v[int((NR + 1) / 2)] }'
}
wall() { # wall seconds of one command
    /usr/bin/time -f '%e' "$@" > /dev/null 2> "$work/time" || true
    tail -n 1 "$work/time"
}
# From "label   1.234 s ..." or "label   min 1.234 ms, ...": label|number, one a line.
figures() {
    sed -nE 's/^([^0-9]*[^ 0-9])  +(min +)?([0-9.]+).*/\1|\3/p' | sed -E 's/ +min\|/|/'
}

for kind in exercise prose formulas; do
    for size in 1 10; do
        file="$work/$kind-${size}mb.rtf"
        "$bench" generate "$size" "$file" "$kind"
        for i in 1 2 3; do "$bench" run "$file" 2> /dev/null; done > "$work/run"
        ours=$(sed -nE 's/^read into a document +([0-9.]+) s.*/\1/p' "$work/run" | spread)
        rate=$(sed -nE 's/^read into a document .* ([0-9.]+) MB\/s.*/\1/p' "$work/run" | spread)
        open=$(sed -nE 's/^open into the control +([0-9.]+) s.*/\1/p' "$work/run" | spread)
        echo "== $kind, ${size} MB (seconds; three runs)"
        echo "read into a document    $ours   (MB/s: $rate)"
        echo "open into the control   $open   (shown, to the first paint)"
        ours_median=$(echo "$ours" | sed -E 's/.*median +//')
        if command -v unrtf > /dev/null; then
            theirs=$(for i in 1 2 3; do wall unrtf --text "$file"; done | spread)
            echo "unrtf --text            $theirs   (median $(echo "$theirs" | sed -E 's/.*median +//' |
                awk -v o="$ours_median" '{ printf "%.1f", $1 / o }') x our reading)"
        fi
        if [ "$size" = 1 ] && command -v soffice > /dev/null; then
            theirs=$(for i in 1 2 3; do wall soffice --headless --convert-to txt --outdir "$work" "$file"; done | spread)
            echo "LibreOffice to txt      $theirs   (median $(echo "$theirs" | sed -E 's/.*median +//' |
                awk -v o="$ours_median" '{ printf "%.1f", $1 / o }') x our reading)"
        fi
    done
done

# What the user feels, in the main window, on the exercise-like files.
for size in 1 10; do
    file="$work/exercise-${size}mb.rtf"
    echo "== main window, exercise, ${size} MB (three runs; keystrokes: each run's min)"
    for i in 1 2 3; do "$bench" window "$file" 2> /dev/null; done | figures > "$work/window"
    cut -d'|' -f1 "$work/window" | awk '!seen[$0]++' | while IFS= read -r label; do
        printf '%-30s %s\n' "$label" "$(grep -F "$label|" "$work/window" | cut -d'|' -f2 | spread)"
    done
    "$bench" print "$file" "$work/exercise-${size}mb.pdf"
done

# Statements holding photos: opened, switched, saved and printed in the main
# window, beside the peers' reading of the same file; the PDF must hold the
# photos at their own size.
for photos in "20 2000 1500 jpeg" "20 2000 1500 png" "100 800 600 jpeg"; do
    file="$work/photos-${photos// /-}.rtf"
    # shellcheck disable=SC2086
    "$bench" generate-photos $photos "$file" 2> /dev/null
    echo "== main window, photos: $photos ($(du -m "$file" | cut -f1) MB)"
    "$bench" window "$file" 2> /dev/null | grep -vE '^(keystroke|maj|select-all)'
    command -v pdfimages > /dev/null &&
        echo "PDF photos: $(pdfimages -list /tmp/rtf_bench.pdf | awk 'NR > 2 { print $4 "x" $5 }' | sort | uniq -c | xargs)"
    command -v unrtf > /dev/null && echo "unrtf --text            $(peak unrtf --text "$file")"
    command -v soffice > /dev/null &&
        echo "LibreOffice to txt      $(peak soffice --headless --convert-to txt --outdir "$work" "$file")"
done
echo "peak memory in MB; keystrokes and maj in ms; the rest in seconds. Load: $(uptime | sed 's/.*load/load/')"

[ "$hostile_megabytes" = 0 ] && exit 0
# Qt's layout never ends once a document stands some millions of pixels tall:
# such files ("tall") are refused before their layout; each file still gets
# two minutes at most, so that a regression shows as a line, not a hang.
for kind in bad-pictures big-pictures fonts tabs colours nesting binary numbers tall changes word \
    pn-items ls-items bullets lists; do
    file="$work/$kind.rtf"
    "$bench" generate-hostile "$kind" "$hostile_megabytes" "$file"
    echo "== hostile: $kind"
    if timeout 120 /usr/bin/time -f '%e s, %M KB peak' "$bench" open "$file" 2> "$work/time"; then
        tail -n 1 "$work/time"
    else
        echo "did not open within 120 s"
    fi
done
