#!/usr/bin/env bash
# Saves at disk speed, frames on time: the program with the largest show (every Slot of the open
# bank filled as far as the Show File allows), connected to the simulated Controller and
# streaming from the Effect editor, saved SAVES times (default 10) two seconds apart. Prints the
# 0x6A period statistics over the saves: missed ticks beside their limit of 0.
# Usage: bench/app/saves_while_connected.sh [build-dir] [saves] [program]
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build}"
saves="${2:-10}"
program="$(realpath "${3:-$build/bin/kx7420}")"
sim="$(realpath "$build/bin/kx7420-sim")"
showtool="$(realpath "$build/bench/kx7420-largest-show")"
[ -x "$program" ] && [ -x "$showtool" ] ||
    { echo "build first: cmake -B $build -DKX_BUILD_BENCH=ON && cmake --build $build"; exit 1; }
source bench/app/bench_lib.sh
echo "machine load: $(cut -d' ' -f1-3 /proc/loadavg)"

"$showtool" "$work"
start_sim
start_streaming
first=$(( $(wc -l <"$frames") + 1 ))
before=$(stat -c %Y "$work/S7420.K74")
save_times "$saves"
[ "$(stat -c %Y "$work/S7420.K74")" -gt "$before" ] || fail "the Show File was not saved"
echo "$saves saves of the largest show while streaming: $(frame_stats "$first")"
