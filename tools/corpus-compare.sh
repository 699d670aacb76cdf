#!/usr/bin/env bash
# Counts the corpus files (tests/document/rtf/corpus) whose plain text, with
# whitespace collapsed and pictures left out, is the text their project
# expects: for our reader (rtfcat), for unrtf --text and for pandoc -t plain.
# unrtf and pandoc are for comparing only: apt-get install unrtf pandoc.
#   tools/corpus-compare.sh [BUILD_DIR] [-v]
set -uo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
verbose="${2:-}"
rtfcat="$build/tools/rtfcat"
[ -x "$rtfcat" ] || { echo "no $rtfcat: build first" >&2; exit 2; }
export QT_QPA_PLATFORM=offscreen

# The same normalisation as corpus_test: U+FFFC goes, so does ("URL") after
# a link's text, "|" between table cells counts as a blank, and every run of
# whitespace (NBSP and the line separator included) becomes one space.
normalise() {
    python3 -c '
import re, sys
text = sys.stdin.buffer.read().decode("utf-8", "replace").replace("\ufffc", "")
text = re.sub(r"\(\"[^\"]*\"\)", "", text).replace("|", " ")
sys.stdout.write(" ".join(text.split()))'
}

ours() { timeout 60 "$rtfcat" --text "$1" 2> /dev/null; }
unrtf_text() {
    # unrtf starts with a banner of "###" lines and a "-----" rule.
    timeout 60 unrtf --text "$1" 2> /dev/null | sed '1,/^-----------------$/d'
}
pandoc_text() { timeout 60 pandoc -f rtf -t plain --wrap=none "$1" 2> /dev/null; }

tools=(ours)
command -v unrtf > /dev/null && tools+=(unrtf_text) || echo "unrtf not installed" >&2
command -v pandoc > /dev/null && tools+=(pandoc_text) || echo "pandoc not installed" >&2

declare -A matched
total=0
while IFS= read -r rtf; do
    txt="${rtf%.rtf}.txt"
    [ -f "$txt" ] || continue
    total=$((total + 1))
    expected="$(normalise < "$txt")"
    line="$rtf:"
    for tool in "${tools[@]}"; do
        if [ "$("$tool" "$rtf" | normalise)" = "$expected" ]; then
            matched[$tool]=$((${matched[$tool]:-0} + 1))
            line+=" $tool=ok"
        else
            line+=" $tool=differs"
        fi
    done
    [ "$verbose" = -v ] && echo "$line"
done < <(find tests/document/rtf/corpus -name '*.rtf' | sort)

echo "files: $total"
for tool in "${tools[@]}"; do
    echo "${tool%_text}: ${matched[$tool]:-0} match"
done
