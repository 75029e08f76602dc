#!/usr/bin/env bash
# What a technician types and clicks while the tool is connected and streaming frames reaches the
# window, in order: the real program under its own Xvfb, real key presses and clicks (xdotool),
# the simulated Controller on loopback. In the Material editor 50 typed values are each stored
# and on the fixtures (the frames the Controller receives) and 100 clicks on "加一步" make 100
# Steps; in the Scene editor 200 typed characters reach the saved show; a download then verifies
# with nothing malformed on the wire.
# Usage: tests/app/live_input.sh <program> <simulator> <show tool>
set -euo pipefail
program="$(realpath "$1")"
sim="$(realpath "$2")"
showtool="$(realpath "$3")"
source "$(dirname "$0")/process_setup.sh"
"$showtool" make "$work"
show="$work/S7420.K74"
log="$work/sim.log"
holds() { LC_ALL=C grep -aqP "$(printf '%s' "$2" | sed 's/./&\\x00/g')" "$1"; }

# The shipped settings point the tool at 127.0.0.1:51801 and listen on 51800.
mkdir -p "$work/sim-files"
"$sim" --port 51801 --tool-port 51800 --folder "$work/sim-files" --log "$log" --quiet \
    --keepalive-ms 0 &
simpid=$!
"$work/kx7420" >>"$work/app.log" 2>&1 &
app=$!
window=$(main_window)
sleep 1
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }

# Channel k of the last A+B frame the Controller received (the log shows the body's first bytes,
# the command code first).
channel() {
    grep 'dmx A+B' "$log" | tail -n 1 | sed 's/.*dmx A+B *//' | awk -v k="$1" '{print $(k + 1)}'
}
# Waits for a frame whose channel k is the value (as 2 hex digits); false after 2 s.
on_fixtures() {
    local want
    want=$(printf '%02X' "$2")
    for _ in $(seq 40); do
        [ "$(channel "$1")" = "$want" ] && return 0
        sleep 0.05
    done
    return 1
}

# 连接, once more if the first click came before the window took input.
for _ in 1 2 3; do
    click 814 43
    for _ in $(seq 30); do
        grep -q 'dmx A+B' "$log" 2>/dev/null && break 2
        sleep 0.1
    done
done
# 场景, Effect 1, its Slot 1: the Material editor, streaming its current Step.
click 410 43 && sleep 0.4 && click 64 347 && sleep 0.4 && click 119 334 && sleep 0.6
grep -q 'dmx A+B' "$log" || fail "not connected"

wrong=0
for i in $(seq 0 49); do
    k=$(( i % 3 + 1 ))
    value=$(( 100 + (i * 37) % 156 ))
    click $(( 27 + (k - 1) * 41 )) 426
    xdotool key ctrl+a
    xdotool type --delay 15 "$value"
    xdotool key Return
    if ! on_fixtures "$k" "$value"; then
        echo "value $value typed into channel $k: the fixtures show $(channel "$k")" >&2
        wrong=$(( wrong + 1 ))
    fi
    click 339 486 && click 339 486  # 加一步, twice
done
[ $wrong -eq 0 ] || fail "$wrong of 50 typed values did not reach the fixtures"

# Back through the Effect editor to the scenes: ten remarks of 20 characters, each saved with the
# title bar's 保存.
click 1231 106 && sleep 0.4 && click 1205 729 && sleep 0.4 && click 18 547 && sleep 0.3
for round in $(seq 0 9); do
    text=$(printf 'R%dQZWXV%02dabcdefghijkl' "$round" "$round" | cut -c1-20)
    click 150 611
    xdotool key ctrl+a
    xdotool type --delay 20 "$text"
    sleep 0.3
    click 712 43  # 保存
    for _ in $(seq 100); do
        holds "$show" "$text" && break
        sleep 0.05
    done
    holds "$show" "$text" || fail "scene remark '$text' did not reach the saved show"
done

# A download, with keys and clicks made while it runs.
click 606 43 && sleep 0.5
before=$(grep -c . "$log")
click 1228 747  # 下载 灯光参数
xdotool type --delay 30 "typed while the download runs"
click 312 43
for _ in $(seq 200); do
    [ -f "$work/sim-files/S7420.K74" ] && break
    sleep 0.1
done
sleep 1
[ -f "$work/sim-files/S7420.K74" ] || fail "the download did not verify"
cmp -s "$work/sim-files/S7420.K74" "$show" || fail "the Controller holds other bytes than the show"
tail -n +"$before" "$log" | grep -q '!!' && fail "something malformed reached the Controller"

kill -TERM $app
wait $app || true
app=""
steps=$("$showtool" steps "$work")
[ "$steps" = 101 ] || fail "100 clicks on 加一步 made $(( steps - 1 )) Steps"
echo "live input: 50 values, 100 clicks, 200 characters and a download, nothing lost"
