#!/usr/bin/env bash
# Idle means asleep: the program with the largest show, not connected, nothing changing, in every
# view of the title bar in turn. Per view, over SECONDS (default 60): the CPU the process used
# and how often its main thread woke, beside their limits (0.1 % of one core; 11 a second, what
# the 100 ms output tick and the 1 s announce need).
# Usage: bench/app/idle_views.sh [build-dir] [seconds] [program]
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build}"
seconds="${2:-60}"
program="$(realpath "${3:-$build/bin/kx7420}")"
showtool="$(realpath "$build/bench/kx7420-largest-show")"
[ -x "$program" ] && [ -x "$showtool" ] ||
    { echo "build first: cmake -B $build -DKX_BUILD_BENCH=ON && cmake --build $build"; exit 1; }
source bench/app/bench_lib.sh
"$showtool" "$work" >/dev/null
start_app
sleep 3

echo "idle, not connected, largest show; ${seconds} s per view (machine load: $(cut -d' ' -f1-3 /proc/loadavg))"
for view in room library scenes effect material test download upgrade; do
    "view_$view"
    sleep 2
    t0=$(cpu_ns) && w0=$(wakeups)
    sleep "$seconds"
    t1=$(cpu_ns) && w1=$(wakeups)
    awk -v v="$view" -v d=$((t1 - t0)) -v w=$((w1 - w0)) -v s="$seconds" \
        'BEGIN { printf "%-9s CPU %.3f %% of one core (limit 0.1)   wake-ups %.1f/s (limit 11)\n",
                 v, 100 * d / 1e9 / s, w / s }'
done
