#!/usr/bin/env bash
# Builds everything once with clang, AddressSanitizer and UBSan, runs the whole test suite through
# CTest in that build, then a short run of every fuzz target (built alongside) over its seed
# corpus. Any sanitizer report fails its test. How long each part takes: README, "How long";
# this run's figures are in build-check/phases.txt (bench/build/build_phases.sh compares them).
set -euo pipefail
cd "$(dirname "$0")"
phases=()
mark=$(date +%s%N)
phase() {
    local now ms
    now=$(date +%s%N)
    ms=$(((now - mark) / 1000000))
    phases+=("$1 $((ms / 1000)).$((ms % 1000 / 100))")
    mark=$now
}
# CPU seconds (user + system) used so far by the finished children of this script.
cpu_seconds() {
    awk -v t="$(getconf CLK_TCK)" '{ print int(($16 + $17) / t) }' /proc/$$/stat
}
scripts/deps.sh clang libclang-rt-14-dev lld xdotool imagemagick ccache
phase deps
build=build-check
launcher=()
if command -v ccache >/dev/null; then
    # Rebuilds of an unchanged file come from the cache, also from another clone on this machine.
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKX_SANITIZE=ON -DKX_FUZZ=ON "${launcher[@]}" >/dev/null
phase configure
cpu_before=$(cpu_seconds)
cmake --build "$build"
phase build
# The build's CPU time (user + system of every compile and link): what the build costs whatever
# else runs on the machine.
echo "$(($(cpu_seconds) - cpu_before))" >"$build/build-cpu.txt"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
(cd "$build" && ctest --output-on-failure -j2 --timeout 400) | tee "$build/ctest.log"
phase suite
scripts/fuzz.sh 10 "$build" 2
phase fuzz
printf '%s\n' "${phases[@]}" >"$build/phases.txt"
echo "phases (s): ${phases[*]}"
# The suite's count as the last line, after the fuzz runs.
total=$(grep -o 'tests failed out of [0-9]*' "$build/ctest.log" | grep -o '[0-9]*$')
echo "tests: ${total} passed, 0 failed"
