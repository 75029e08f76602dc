#!/usr/bin/env bash
# Start-up with the largest show: from process start to the main window shown, and the resident
# memory once it settled, over RUNS starts (default 5), beside their limits (200 ms, 64 MB).
# Usage: bench/app/startup.sh [build-dir] [runs] [program]
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build}"
runs="${2:-5}"
program="$(realpath "${3:-$build/bin/kx7420}")"
showtool="$(realpath "$build/bench/kx7420-largest-show")"
[ -x "$program" ] && [ -x "$showtool" ] ||
    { echo "build first: cmake -B $build -DKX_BUILD_BENCH=ON && cmake --build $build"; exit 1; }
source bench/app/bench_lib.sh
"$showtool" "$work"
echo "machine load: $(cut -d' ' -f1-3 /proc/loadavg)"
times=()
for _ in $(seq "$runs"); do
    t0=$(date +%s%N)
    "$work/kx7420" >>"$work/app.log" 2>&1 &
    app=$!
    until xdotool search --onlyvisible --name '^KX-7420 ' >/dev/null 2>&1; do
        kill -0 "$app" 2>/dev/null || fail "the program ended"
        sleep 0.002
    done
    times+=($(( ($(date +%s%N) - t0) / 1000000 )))
    sleep 3
    rss=$(rss_kib)
    # A termination request saves and ends the program as a logout would.
    kill -TERM "$app"
    wait "$app" 2>/dev/null || true
    app=""
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n | tr '\n' ' ')
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}')
echo "start to window shown: median ${median} ms (limit 200), runs: ${sorted}"
awk -v r="$rss" 'BEGIN { printf "RSS with the largest show: %.1f MB (limit 64)\n", r / 1024 }'
