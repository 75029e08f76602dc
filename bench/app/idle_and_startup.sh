#!/usr/bin/env bash
# Time from process start to the main window being mapped, and CPU use of the idle program over
# 10 s, under Xvfb; with "monitor", also the CPU use over 10 s with the DMX monitor open over the
# Fixture Library's preview, not connected.
# Usage: bench/app/idle_and_startup.sh [build-dir] [monitor]
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build}"
scripts/deps.sh x11-utils xdotool
exe="$PWD/$build/bin/kx7420"
[ -x "$exe" ] || { echo "build first: ./run.sh or cmake --build $build"; exit 1; }

display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 1400x900x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY="$display"

# A first start without a Show File stops at its message box: answer it once, and let a
# termination request save the show, so the measured start is an ordinary one.
if [ ! -f "$(dirname "$exe")/S7420.K74" ]; then
    "$exe" >/dev/null 2>&1 &
    first=$!
    until box=$(xdotool search --onlyvisible --name '^KX-7420$' 2>/dev/null | head -n 1) && [ -n "$box" ]; do
        sleep 0.05
    done
    xdotool key --window "$box" Return 2>/dev/null || true
    sleep 1
    kill -TERM $first
    wait $first || true
fi

start=$(date +%s%N)
"$exe" >/dev/null 2>&1 &
app=$!
until xwininfo -root -tree 2>/dev/null | grep -q '"KX-7420 A14.2'; do
    sleep 0.005
    kill -0 $app 2>/dev/null || { echo "the program ended"; exit 1; }
done
shown=$(date +%s%N)
echo "start to window shown: $(( (shown - start) / 1000000 )) ms"

sleep 2
ticks() { awk '{print $14 + $15}' "/proc/$app/stat"; }
hz=$(getconf CLK_TCK)
t0=$(ticks)
sleep 10
t1=$(ticks)
awk -v d=$((t1 - t0)) -v hz="$hz" 'BEGIN { printf "idle CPU over 10 s: %.2f %% of one core\n", 100 * d / hz / 10 }'

if [ "${2:-}" = monitor ]; then
    window=$(xdotool search --onlyvisible --name '^KX-7420 ' | head -n 1)
    xdotool mousemove --window "$window" 312 43 click 1
    sleep 0.5
    xdotool key F9
    until xdotool search --onlyvisible --name '^DMX' >/dev/null 2>&1; do sleep 0.05; done
    sleep 2
    t0=$(ticks)
    sleep 10
    t1=$(ticks)
    awk -v d=$((t1 - t0)) -v hz="$hz" \
        'BEGIN { printf "idle CPU with the DMX monitor open over 10 s: %.2f %% of one core\n", 100 * d / hz / 10 }'
fi
