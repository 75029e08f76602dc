#!/usr/bin/env bash
# Idle means asleep: the program with the largest show, not connected, nothing changing, in every
# view of the title bar in turn. Per view, over SECONDS (default 60): the CPU the process used
# and how often its main thread woke, beside their limits (0.1 % of one core; 11 a second, what
# the 100 ms output tick and the 1 s announce need), and how often a busy machine preempted it.
# First the same figures of a bare window with the same tick and a label changed each second
# (kx7420-idle-floor): what the toolkit itself costs on this machine at its present load.
# Usage: bench/app/idle_views.sh [build-dir] [seconds] [program]
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build}"
seconds="${2:-60}"
program="$(realpath "${3:-$build/bin/kx7420}")"
showtool="$(realpath "$build/bench/kx7420-largest-show")"
floor="$(realpath "$build/bench/kx7420-idle-floor")"
[ -x "$program" ] && [ -x "$showtool" ] && [ -x "$floor" ] ||
    { echo "build first: cmake -B $build -DKX_BUILD_BENCH=ON && cmake --build $build"; exit 1; }
source bench/app/bench_lib.sh

# Over $seconds: process $1's CPU, wake-ups and preemptions, printed under the name $2.
measure() {
    local t0 w0 p0 t1 w1 p1
    t0=$(cpu_ns "$1") && w0=$(wakeups "$1") && p0=$(preemptions "$1")
    sleep "$seconds"
    t1=$(cpu_ns "$1") && w1=$(wakeups "$1") && p1=$(preemptions "$1")
    awk -v v="$2" -v d=$((t1 - t0)) -v w=$((w1 - w0)) -v p=$((p1 - p0)) -v s="$seconds" \
        'BEGIN { printf "%-9s CPU %.3f %% of one core (limit 0.1)   wake-ups %.1f/s (limit 11)   preempted %.1f/s\n",
                 v, 100 * d / 1e9 / s, w / s, p / s }'
}

echo "idle, not connected, largest show; ${seconds} s per view (machine load: $(cut -d' ' -f1-3 /proc/loadavg))"
"$floor" >/dev/null 2>&1 &
floorpid=$!
sleep 3
measure "$floorpid" "floor"
kill "$floorpid"

"$showtool" "$work" >/dev/null
start_app
sleep 3
for view in room library scenes effect material test download upgrade; do
    "view_$view"
    # The clicks may have changed the show: the recovery check they start is done by then.
    sleep 3
    measure "$app" "$view"
done
