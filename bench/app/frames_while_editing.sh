#!/usr/bin/env bash
# Frames on time: the 0x6A period at the simulated Controller while the connected program is
# worked on. Phase 1, for SECONDS (default 60): the Material editor streaming, the DMX monitor
# open, values typed into channel boxes, a fader dragged, Steps added and removed, a save every
# 10 s. Phase 2: the largest show, streaming from the Effect editor, saved ten times. Each phase
# prints the period's deviation from 100 ms and the missed ticks beside their limits, and beside
# them what a bare real-time timer thread (kx7420-timer-floor) kept in the same seconds: the floor
# this machine's scheduler allows at that moment.
# Usage: bench/app/frames_while_editing.sh [build-dir] [seconds] [program]
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build}"
seconds="${2:-60}"
program="$(realpath "${3:-$build/bin/kx7420}")"
sim="$(realpath "$build/bin/kx7420-sim")"
inputshow="$(realpath "$build/bin/kx7420-input-show")"
showtool="$(realpath "$build/bench/kx7420-largest-show")"
floor="$(realpath "$build/bench/kx7420-timer-floor")"
[ -x "$program" ] && [ -x "$showtool" ] && [ -x "$floor" ] ||
    { echo "build first: cmake -B $build -DKX_BUILD_BENCH=ON && cmake --build $build"; exit 1; }
source bench/app/bench_lib.sh
echo "machine load: $(cut -d' ' -f1-3 /proc/loadavg)"

"$inputshow" make "$work"
start_sim
start_app
sleep 1
connect || fail "not connected"
view_material
sleep 0.6
open_monitor_behind || fail "the DMX monitor did not open"
sleep 1
first=$(( $(wc -l <"$frames") + 1 ))
"$floor" "$seconds" >"$work/floor1.txt" &
floor1=$!
end=$(( $(date +%s) + seconds ))
next_save=$(( $(date +%s) + 10 ))
i=0
while [ "$(date +%s)" -lt "$end" ]; do
    k=$(( i % 3 + 1 ))
    click $(( 27 + (k - 1) * 41 )) 426
    xdotool key ctrl+a
    xdotool type --delay 15 "$(( 100 + (i * 37) % 156 ))"
    xdotool key Return
    # Channel k's fader, dragged down and up.
    x=$(( 27 + (k - 1) * 41 ))
    xdotool mousemove --window "$window" "$x" 300 mousedown 1
    for y in 310 330 350 370 350 330 310; do
        xdotool mousemove --window "$window" "$x" "$y"
        sleep 0.02
    done
    xdotool mouseup 1
    click 339 486  # 加一步
    click 493 486  # 删除步: the Material keeps its size
    if [ "$(date +%s)" -ge "$next_save" ]; then
        save_now
        next_save=$(( next_save + 10 ))
    fi
    i=$(( i + 1 ))
done
echo "editing for ${seconds} s ($i rounds), DMX monitor open: $(frame_stats "$first")"
wait "$floor1"
echo "  the timer floor in those seconds: $(cat "$work/floor1.txt")"

# The largest show, loaded at start, saved while streaming.
kill -9 "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
rm -f "$work/S7420.K74"*
"$showtool" "$work" >/dev/null
start_streaming
first=$(( $(wc -l <"$frames") + 1 ))
"$floor" 20 >"$work/floor2.txt" &
floor2=$!
save_times 10
echo "ten saves of the largest show while streaming: $(frame_stats "$first")"
wait "$floor2"
echo "  the timer floor in those seconds: $(cat "$work/floor2.txt")"
