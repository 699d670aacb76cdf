#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
# The sources keep the project's format: a file that clang-format would
# change fails the run, naming the file.
clang-format-14 --dry-run --Werror $(git ls-files '*.cpp' '*.h')
cmake -S . -B build-check -G Ninja -DCMAKE_BUILD_TYPE=Debug -DREDIGO_SANITIZE=ON > /dev/null
cmake --build build-check
export QT_QPA_PLATFORM=offscreen
cd build-check
ctest --output-on-failure -j "$(nproc)"
cd ..

# What the simulators' control reads of our RTF, every picture included, with
# Wine's standing in for it; REDIGO_RICHEDIT=1 installs Wine when it is missing.
if command -v wine > /dev/null || [ "${REDIGO_RICHEDIT:-0}" = 1 ]; then
    tools/richedit-check.sh --strict-pictures build-check
else
    echo "richedit check skipped: wine is not installed"
fi

# LibreOffice shows our RTF as we do: its text, its pictures, its formats.
if command -v soffice > /dev/null; then
    RTFCAT=build-check/tools/rtfcat tools/lo-roundtrip.sh
else
    echo "lo-roundtrip skipped: LibreOffice is not installed"
fi

# A short run of each fuzz target; REDIGO_FUZZ_SECONDS=0 skips it.
fuzz_seconds="${REDIGO_FUZZ_SECONDS:-30}"
if command -v clang++ > /dev/null && [ "$fuzz_seconds" != 0 ]; then
    tools/fuzz.sh "$fuzz_seconds"
fi
