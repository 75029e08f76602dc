#!/usr/bin/env bash
# Runs every fuzz target built in the given folder (default build-check, where ./test.sh builds)
# for the given number of seconds (default 60) over its seed corpus
# fuzz/<subsystem>/corpus/<target>/. A longer run: scripts/fuzz.sh 600
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build="${2:-build-check}"
shopt -s nullglob
targets=("$build"/fuzz/fuzz_*)
for t in "${targets[@]}"; do
    name="$(basename "$t")"
    name="${name#fuzz_}"
    work="$build/corpus/$name"
    mkdir -p "$work"
    for seeds in fuzz/*/corpus/"$name"; do cp -n "$seeds"/* "$work"/ 2>/dev/null || true; done
    log="$build/$name.log"
    if ! "$t" -max_total_time="$seconds" -print_final_stats=1 "$work" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz target $name failed"
        exit 1
    fi
    echo "fuzz $name: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') executions in ${seconds}s"
done
echo "${#targets[@]} fuzz targets ran"
