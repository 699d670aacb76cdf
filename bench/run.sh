#!/usr/bin/env bash
# Builds the benchmark in release mode, generates 1 MB and 10 MB exercise-like
# documents, and times our codec beside unrtf and LibreOffice on the same files
# (those two only where installed: apt-get install unrtf libreoffice-writer-nogui).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build-release --target rtf_bench > /dev/null
bench=build-release/bench/rtf_bench
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
    if command -v unrtf > /dev/null; then
        echo "unrtf --text           $(peak unrtf --text "$file")"
    fi
    if command -v soffice > /dev/null; then
        echo "LibreOffice to txt     $(peak soffice --headless --convert-to txt --outdir "$work" "$file")"
    fi
done
