#!/usr/bin/env bash
# Runs every fuzz target built in the given folder (default build-check, where ./test.sh builds)
# for the given number of seconds (default 60) over its seed corpus
# fuzz/<subsystem>/corpus/<target>/, as many targets at once as the third argument says (default:
# one per core). A longer run: scripts/fuzz.sh 600
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build="${2:-build-check}"
parallel="${3:-$(nproc)}"
shopt -s nullglob
targets=("$build"/fuzz/fuzz_*)

# One target's run; its verdict goes to <name>.status, which the summary reads.
run_target() {
    local t="$1" name work log
    name="$(basename "$t")"
    name="${name#fuzz_}"
    work="$build/corpus/$name"
    log="$build/$name.log"
    mkdir -p "$work"
    for seeds in fuzz/*/corpus/"$name"; do cp -n "$seeds"/* "$work"/ 2>/dev/null || true; done
    if "$t" -max_total_time="$seconds" -print_final_stats=1 "$work" >"$log" 2>&1; then
        echo "fuzz $name: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') executions in ${seconds}s"
        echo ok >"$build/$name.status"
    else
        echo failed >"$build/$name.status"
    fi
}

for t in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
    run_target "$t" &
done
wait

failed=0
for t in "${targets[@]}"; do
    name="$(basename "$t")"
    name="${name#fuzz_}"
    if [ "$(cat "$build/$name.status" 2>/dev/null)" != ok ]; then
        tail -n 40 "$build/$name.log"
        echo "fuzz target $name failed"
        failed=1
    fi
done
[ "$failed" -eq 0 ] || exit 1
echo "${#targets[@]} fuzz targets ran"
