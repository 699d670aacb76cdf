#!/bin/sh
# Checks that LibreOffice reads our RTF as we do. For each input file, our
# writer's RTF of it (rtfcat --rtf) goes through LibreOffice, which writes its
# own RTF back; both are then listed with rtfcat --runs and compared. As
# LibreOffice may write back what it could not show (a Symbol byte it shows
# blank), the text it shows (its plain-text export) is compared with ours
# too, character by character, and so is the number of pictures. With no
# input, a sample using every attribute the program writes is checked.
#
# LibreOffice has no protected characters: it drops \protect on reading, so
# the protection is left out of the comparison unless --strict is given.
#
# usage: tools/lo-roundtrip.sh [--strict] [FILE.rtf ...]
#   RTFCAT   the rtfcat to use (default: the newest build*/tools/rtfcat)
#   SOFFICE  LibreOffice (default: soffice)
# Exit status: 0 when every listing matches, 1 when some differ, 2 on error.

set -u

root=$(cd "$(dirname "$0")/.." && pwd)
soffice=${SOFFICE:-soffice}
rtfcat=${RTFCAT:-$(ls -t "$root"/build*/tools/rtfcat 2>/dev/null | head -n 1)}
if [ -z "$rtfcat" ] || [ ! -x "$rtfcat" ]; then
    echo "lo-roundtrip: no rtfcat found; build it or set RTFCAT" >&2
    exit 2
fi
if ! command -v "$soffice" >/dev/null 2>&1; then
    echo "lo-roundtrip: $soffice not found; set SOFFICE" >&2
    exit 2
fi

strict=0
if [ "${1:-}" = "--strict" ]; then
    strict=1
    shift
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/lo-roundtrip.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
# Qt warns on every start without one.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
fi

# Arial and Times New Roman runs, sizes 10, 20 and 7.5 pt, bold, italic,
# underline, strike, two colours, raised and lowered characters, protected
# text, every alignment, indents, the four tab kinds, a bulleted list, Latin-1
# and Windows-1252 characters, a character only \u reaches, a Symbol run, a
# PNG picture, a picture right after a Greek letter and a footnote.
write_sample() {
    sed 's/$/\r/' <<'SAMPLE'
{\rtf1\ansi\ansicpg1252\deff0\deflang1036{\fonttbl{\f0\fnil\fcharset0 Arial;}{\f1\fnil\fcharset0 Times New Roman;}{\f2\fnil\fcharset2 Symbol;}}
{\colortbl ;\red200\green0\blue0;\red0\green0\blue200;}
\viewkind4\uc1\pard\f0\fs20 Plain \b bold\b0  \i italic\i0  \ul underlined\ulnone  \strike struck\strike0  \f1\fs40 big\f0\fs20  \fs15 small\fs20  \cf1 red\cf0  \cf2 blue\cf0  E = mc\up6 2\up0  H\dn4 2\up0 O \protect locked\protect0\par
\pard\qc Accents : \'e9t\'e9 \'80 \u8776? \'abguillemets\'bb\par
\pard\qr\ri600 right\par
\pard\qj\li600\fi-300 A justified paragraph, long enough to go over more than one line on a page, so that the justification shows.\par
\pard\tx1500\tqr\tx3000\tqc\tx4500\tqdec\tx6000 a\tab b\tab c\tab 1,5\par
\pard{\pntext\f2\'B7\tab}{\*\pn\pnlvlblt\pnf2\pnindent0{\pntxtb\'B7}}\li360\fi-360 first item\par
{\pntext\f2\'B7\tab}second item\par
\pard Greek: \f2 abg \'b1 \'bb\f0  and a picture {\pict\pngblip\picw6\pich4\picwgoal900\pichgoal600 89504e470d0a1a0a0000000d49484452000000060000000408020000002266d914000000114944415478da63382127878618c8150200aea91861ea8d23000000000049454e44ae426082}\par
\pard Ion \f2 a{\pict\pngblip\picw6\pich4\picwgoal900\pichgoal600 89504e470d0a1a0a0000000d49484452000000060000000408020000002266d914000000114944415478da63382127878618c8150200aea91861ea8d23000000000049454e44ae426082}\f0  after the picture, a note{\super\chftn}{\footnote\pard\plain{\super\chftn} Une note.} and its end.\par
}
SAMPLE
}

# Converts one RTF with LibreOffice into outdir; prints the output's path.
libreoffice_rtf() {
    "$soffice" -env:UserInstallation="file://$work/profile" --headless --norestore \
        --convert-to rtf --outdir "$2" "$1" >"$work/soffice.log" 2>&1
    out="$2/$(basename "$1")"
    if [ ! -s "$out" ]; then
        echo "lo-roundtrip: LibreOffice did not convert $1:" >&2
        cat "$work/soffice.log" >&2
        return 1
    fi
    echo "$out"
}

# A run listing without the protection; runs it alone kept apart are joined.
without_protection() {
    awk '
        function flush() { if (key != "") print key " text=\"" text "\""; key = "" }
        /^R / {
            at = index($0, " text=\"")
            k = substr($0, 1, at - 1); sub(/ prot=[01]/, "", k)
            t = substr($0, at + 7); t = substr(t, 1, length(t) - 1)
            if (k == key) { text = text t; next }
            flush(); key = k; text = t; next
        }
        { flush(); print }
        END { flush() }
    '
}

# Converts one RTF with LibreOffice into its plain text (UTF-8), as shown.
libreoffice_text() {
    "$soffice" -env:UserInstallation="file://$work/profile" --headless --norestore \
        --convert-to "txt:Text (encoded):UTF8" --outdir "$2" "$1" >"$work/soffice.log" 2>&1
    out="$2/$(basename "$1" .rtf).txt"
    if [ ! -f "$out" ]; then
        echo "lo-roundtrip: LibreOffice did not convert $1 to text:" >&2
        cat "$work/soffice.log" >&2
        return 1
    fi
    echo "$out"
}

# Our text of an RTF file as LibreOffice's export gives it: no pictures (nor
# the empty ones that keep hidden text and footnotes), and no footnote text
# at the paragraph's end, which LibreOffice keeps in its note.
our_text() {
    if grep -q '{\\footnote' "$1"; then
        "$rtfcat" --text "$1" | sed 's/\xef\xbf\xbc//g; :a; s/ \[[^]]*\]$//; ta'
    else
        "$rtfcat" --text "$1" | sed 's/\xef\xbf\xbc//g'
    fi
}

# LibreOffice's text with its byte-order mark and CRs left out, a Symbol
# space (U+F020, drawn blank) read as a space, and each list label it puts
# before an item that is ours without it taken away.
normalized_text() {
    sed '1s/^\xef\xbb\xbf//; s/\r$//; s/\xef\x80\xa0/ /g' "$1" | awk -v ours="$2" '
        { getline mine < ours
          if ($0 != mine) {
              line = $0
              sub(/^[ \t]*[^ \t]+[ \t]+/, "", line)
              if (line == mine) { print mine; next }
          }
          print }
    '
}

# Pictures in a run listing, without the empty ones that keep a group.
picture_count() {
    grep -c '^I ' "$1" | tr -d '\n'
    printf ' '
    grep -c '^I w=0 h=0$' "$1"
}

# Lists the runs of an RTF file, as compared.
list_runs() {
    if [ $strict -eq 1 ]; then
        "$rtfcat" --runs "$1"
    else
        "$rtfcat" --runs "$1" | without_protection
    fi
}

check() {
    name=$(basename "$1" .rtf)
    dir="$work/$name"
    mkdir -p "$dir/lo"
    "$rtfcat" --rtf "$1" >"$dir/ours.rtf" || return 2
    lo=$(libreoffice_rtf "$dir/ours.rtf" "$dir/lo") || return 2
    list_runs "$dir/ours.rtf" >"$dir/ours.runs" || return 2
    list_runs "$lo" >"$dir/lo.runs" || return 2
    mkdir -p "$dir/lotext"
    lotext=$(libreoffice_text "$dir/ours.rtf" "$dir/lotext") || return 2
    our_text "$dir/ours.rtf" >"$dir/ours.txt" || return 2
    normalized_text "$lotext" "$dir/ours.txt" >"$dir/lo.txt"
    result=0
    diff -u --label "ours: $1" --label "LibreOffice" "$dir/ours.runs" "$dir/lo.runs" || result=1
    diff -u --label "our text: $1" --label "LibreOffice's text" "$dir/ours.txt" "$dir/lo.txt" ||
        result=1
    set -- "$1" $(picture_count "$dir/ours.runs") $(picture_count "$dir/lo.runs")
    if [ $(($2 - $3)) -ne $(($4 - $5)) ]; then
        echo "pictures in $1: ours $(($2 - $3)), LibreOffice $(($4 - $5))"
        result=1
    fi
    [ $result -eq 0 ] && echo "OK $1"
    return $result
}

if [ $# -eq 0 ]; then
    write_sample >"$work/sample.rtf"
    set -- "$work/sample.rtf"
fi

[ $strict -eq 0 ] && echo "note: character protection (prot=) is not compared; see --strict"
status=0
for input in "$@"; do
    check "$input"
    result=$?
    [ $result -gt $status ] && status=$result
done
exit $status
