#!/usr/bin/env bash
# Builds everything and runs the whole test suite through CTest, then a short run of every fuzz
# target (clang, AddressSanitizer + UBSan) over its seed corpus.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh clang libclang-rt-14-dev xdotool imagemagick
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
(cd build && ctest --output-on-failure -j2 --timeout 300) | tee build/ctest.log
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DKX_FUZZ=ON -DKX_BUILD_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz --target fuzz_all
scripts/fuzz.sh 10
# The suite's count as the last line, after the fuzz runs.
total=$(grep -o 'tests failed out of [0-9]*' build/ctest.log | grep -o '[0-9]*$')
echo "tests: ${total} passed, 0 failed"
