#!/usr/bin/env bash
# Start-up with the largest show: from process start to the main window shown, and the resident
# memory 3 s later, once the start-up's background work has ended, over RUNS starts (default 5),
# beside their limits (200 ms, 64 MB), with the machine's load before and after.
# Usage: bench/app/startup.sh [build-dir] [runs] [program]
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build}"
runs="${2:-5}"
program="$(realpath "${3:-$build/bin/kx7420}")"
showtool="$(realpath "$build/bench/kx7420-largest-show")"
[ -x "$program" ] && [ -x "$showtool" ] ||
    { echo "build first: cmake -B $build -DKX_BUILD_BENCH=ON && cmake --build $build"; exit 1; }
scripts/deps.sh x11-utils xdotool >/dev/null
source bench/app/bench_lib.sh
"$showtool" "$work"
# The moment a window is mapped, told by the display as it happens: polling for it would start a
# process every few milliseconds beside the program and slow its start on a busy machine.
mkfifo "$work/maps"
stdbuf -oL xev -root -event substructure >"$work/maps" 2>/dev/null &
exec 4<"$work/maps"
sleep 0.5
micros() { echo "${EPOCHREALTIME//[.,]/}"; }
echo "machine load: $(cut -d' ' -f1-3 /proc/loadavg)"
times=()
rsses=()
for _ in $(seq "$runs"); do
    while read -r -t 0.2 -u 4 _; do :; done
    t0=$(micros)
    "$work/kx7420" >>"$work/app.log" 2>&1 &
    app=$!
    until read -r -t 10 -u 4 line && [[ "$line" == MapNotify* ]]; do
        kill -0 "$app" 2>/dev/null || fail "the program ended"
    done
    t1=$(micros)
    # The window mapped is the main window, not a message.
    [ -n "$(xdotool search --onlyvisible --name '^KX-7420 ' 2>/dev/null)" ] ||
        fail "the first window shown is not the main window"
    times+=($(( (t1 - t0) / 1000 )))
    sleep 3
    rsses+=($(rss_kib))
    # A termination request saves and ends the program as a logout would.
    kill -TERM "$app"
    wait "$app" 2>/dev/null || true
    app=""
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
sorted=$(printf '%s\n' "${times[@]}" | sort -n | tr '\n' ' ')
echo "start to window shown: median $(median "${times[@]}") ms (limit 200), runs: ${sorted}"
rss_sorted=$(printf '%s\n' "${rsses[@]}" | sort -n | awk '{printf "%.1f ", $1 / 1024}')
awk -v r="$(median "${rsses[@]}")" -v runs="$rss_sorted" \
    'BEGIN { printf "RSS with the largest show: median %.1f MB (limit 64), runs: %s\n", r / 1024, runs }'
echo "machine load after: $(cut -d' ' -f1-3 /proc/loadavg)"
