#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for the given number of seconds
# (60 by default). Prints each run's speed and coverage, and fails when a
# target crashed, leaked or hung. Everything the runs make stays in build-fuzz/:
# the grown corpus in corpus/, the failing inputs in findings/, logs in logs/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: tools/fuzz.sh [seconds per target]" >&2
    exit 2
fi

tools/install-deps.sh
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DREDIGO_FUZZ=ON > /dev/null
cmake --build "$build" --target rtf_fuzz recap_fuzz recovery_fuzz metafile_fuzz textkind_fuzz \
    lists_fuzz paste_fuzz

export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan.supp
failed=0

# run TARGET SEEDS [libFuzzer options...]
run() {
    local target=$1 seeds=$2
    shift 2
    local corpus="$build/corpus/$target" findings="$build/findings/$target"
    local log="$build/logs/$target.log"
    mkdir -p "$corpus" "$findings" "$build/logs"
    echo "== $target: $seconds s"
    local status=0
    "$build/fuzz/$target" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$@" "$corpus" "$seeds" > "$log" 2>&1 || status=$?
    local speed coverage
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1 || true)
    echo "   ${speed:-?} execs/s, ${coverage:-no coverage reported}," \
        "$(sed -n 's/^stat::number_of_executed_units: *//p' "$log") runs"
    if [ "$status" -ne 0 ]; then
        failed=1
        echo "   FAILED (exit $status); log: $log"
        grep -E 'invariant broken|runtime error|^SUMMARY|Test unit written' "$log" |
            sed 's/^/   /' || true
    fi
}

mkdir -p "$build/corpus/rtf_fuzz"
cp tests/document/rtf/fixtures/*.rtf "$build/corpus/rtf_fuzz/"
run rtf_fuzz fuzz/corpus/rtf -dict=fuzz/rtf.dict
run recap_fuzz fuzz/corpus/recap
run recovery_fuzz fuzz/corpus/recovery
run metafile_fuzz fuzz/corpus/metafile
run textkind_fuzz fuzz/corpus/textkind
run lists_fuzz fuzz/corpus/lists -dict=fuzz/rtf.dict
run paste_fuzz fuzz/corpus/paste -dict=fuzz/rtf.dict
exit "$failed"
