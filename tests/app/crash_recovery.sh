#!/usr/bin/env bash
# The program killed with SIGKILL after an edit, then started again, under Xvfb: answering No
# deletes the recovery file and leaves the Show File as it was; answering Yes brings the edit
# back, and it reaches the Show File at the next save (here the clean shutdown's).
# Usage: tests/app/crash_recovery.sh <program>
set -euo pipefail
program="$(realpath "$1")"
source "$(dirname "$0")/process_setup.sh"
show="$work/S7420.K74"
recovery="$work/S7420.K74.recover"
# The show holds texts as UTF-16 code units.
holds() { LC_ALL=C grep -aqP "$(printf '%s' "$2" | sed 's/./&\\x00/g')" "$1"; }

start() {
    "$work/kx7420" >>"$work/app.log" 2>&1 &
    app=$!
}
# Answers every message box of the program (its title is the product name alone) with a key
# until the main window appears; fails when none was answered.
answer() {
    local box="" answered=0
    for _ in $(seq 800); do
        box=$(xdotool search --onlyvisible --name '^KX-7420$' 2>/dev/null | head -n 1 || true)
        if [ -n "$box" ]; then
            # The box closes on the key press, so the release may find no window.
            xdotool key --window "$box" "$1" 2>/dev/null || true
            answered=1
            sleep 0.3
        fi
        xdotool search --onlyvisible --name '^KX-7420 ' >/dev/null 2>&1 && break
        sleep 0.05
    done
    [ $answered -eq 1 ] || fail "no message box to answer"
}
stop() {
    kill -TERM $app
    wait $app || true
    app=""
}
# Scene 1's remark typed in the Scene editor, then the recovery file awaited (written within
# 30 s of the edit) and the program killed.
edit_and_crash() {
    local window
    window=$(main_window)
    sleep 1
    xdotool mousemove --window "$window" 410 43 click 1
    sleep 0.5
    xdotool mousemove --window "$window" 18 547 click 1
    xdotool mousemove --window "$window" 150 611 click 1
    xdotool type "$1"
    for _ in $(seq 45); do
        [ -f "$recovery" ] && break
        sleep 1
    done
    [ -f "$recovery" ] || fail "no recovery file 45 s after the edit"
    holds "$recovery" "$1" || fail "the recovery file does not hold the edit"
    kill -9 $app
    wait $app 2>/dev/null || true
    app=""
}

# A first start without a Show File says so; a clean shutdown writes the show.
start
answer Return
main_window >/dev/null
stop
[ -f "$show" ] || fail "no Show File after the first run"
before=$(sha256sum "$show" | cut -d' ' -f1)

start
edit_and_crash ZQXNO
[ "$(sha256sum "$show" | cut -d' ' -f1)" = "$before" ] || fail "the crash touched the Show File"
start
answer Escape  # No
main_window >/dev/null
[ -f "$recovery" ] && fail "No kept the recovery file"
[ "$(sha256sum "$show" | cut -d' ' -f1)" = "$before" ] || fail "No changed the Show File"
stop
holds "$show" ZQXNO && fail "the refused edit reached the Show File"

start
edit_and_crash ZQXYES
start
answer Return  # Yes
main_window >/dev/null
holds "$show" ZQXYES && fail "the recovered edit reached the Show File before a save"
stop
holds "$show" ZQXYES || fail "the recovered edit is not in the Show File after the save"
[ -f "$recovery" ] && fail "the clean shutdown kept the recovery file"
echo "crash recovery: No and Yes both behave"
