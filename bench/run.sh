#!/usr/bin/env bash
# Builds the benchmark in release mode, generates 1 MB and 10 MB exercise-like
# documents, and times our codec beside unrtf and LibreOffice on the same files
# (those two only where installed: apt-get install unrtf libreoffice-writer-nogui).
# Then opens hostile files, each made to cost far more than its size; every one
# should open, or be refused as too tall, in under 2 s per MB and 30 times
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

for size in 1 10; do
    file="$work/exercise-${size}mb.rtf"
    "$bench" generate "$size" "$file"
    echo "== ${size} MB document"
    "$bench" run "$file"
    "$bench" print "$file" "$work/exercise-${size}mb.pdf"
    if command -v unrtf > /dev/null; then
        echo "unrtf --text           $(peak unrtf --text "$file")"
    fi
    if command -v soffice > /dev/null; then
        echo "LibreOffice to txt     $(peak soffice --headless --convert-to txt --outdir "$work" "$file")"
    fi
done

[ "$hostile_megabytes" = 0 ] && exit 0
# Qt's layout never ends once a document stands some millions of pixels tall:
# such files ("tall") are refused before their layout; each file still gets
# two minutes at most, so that a regression shows as a line, not a hang.
for kind in bad-pictures big-pictures fonts tabs colours nesting binary numbers tall; do
    file="$work/$kind.rtf"
    "$bench" generate-hostile "$kind" "$hostile_megabytes" "$file"
    echo "== hostile: $kind"
    if timeout 120 /usr/bin/time -f '%e s, %M KB peak' "$bench" open "$file" 2> "$work/time"; then
        tail -n 1 "$work/time"
    else
        echo "did not open within 120 s"
    fi
done
