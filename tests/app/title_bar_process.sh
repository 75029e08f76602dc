#!/usr/bin/env bash
# The title bar's highlight follows the view Ctrl+Z brings forward, in the real program under
# Xvfb with real clicks and keys: a Material edit taken back from 下载 lights 素材, a library edit
# taken back from the Material editor lights 灯库.
# Usage: tests/app/title_bar_process.sh <program>
set -euo pipefail
program="$(realpath "$1")"
source "$(dirname "$0")/process_setup.sh"

"$work/kx7420" >>"$work/app.log" 2>&1 &
app=$!
window=""
for _ in $(seq 400); do
    # A first start without a Show File says so in a message box: answer it.
    box=$(xdotool search --onlyvisible --name '^KX-7420$' 2>/dev/null | head -n 1 || true)
    [ -n "$box" ] && { xdotool key --window "$box" Return 2>/dev/null || true; }
    window=$(xdotool search --onlyvisible --name '^KX-7420 ' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.05
done
[ -n "$window" ] || fail "the main window did not appear"
sleep 1

click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.4; }
# Left edges of the function buttons 1, 3, 4, 5, 6.
declare -A left=([1]=168 [3]=266 [4]=364 [5]=462 [6]=560)
# The highlighted button is the one whose face is more red than blue.
lit() {
    local found="" i rgb r b
    for i in 1 3 4 5 6; do
        rgb=$(import -window "$window" -crop "1x1+$((left[$i] + 8))+20" -depth 8 txt:- |
              grep -o '([0-9]*,[0-9]*,[0-9]*' | tr -d '(')
        r=${rgb%%,*}
        b=${rgb##*,}
        [ "$r" -gt "$b" ] && found="$found$i"
    done
    echo "$found"
}
# The view a click or key brings forward may take a while to draw on a loaded machine (the
# suite runs beside this test, under the sanitizers): wait up to 15 s for the highlight.
expect_lit() {
    local now
    for _ in $(seq 75); do
        now=$(lit)
        [ "$now" = "$1" ] && return 0
        sleep 0.2
    done
    # A window in front of the main one (a message box) would take the clicks: name them all.
    fail "$2: button $1 should be lit alone, lit: '$now'; windows shown:" \
        "$(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' '|')"
}

# 场景 -> Effect 1 -> Slot 1, a remark typed in the Material editor, then 下载.
click 410 43
expect_lit 4 "场景"
click 64 347 && click 119 334
click 457 107 && xdotool type --delay 60 "AB" && xdotool key Return
sleep 0.3
click 606 43
expect_lit 6 "下载"
xdotool key ctrl+z
sleep 0.6
expect_lit 4 "Ctrl+Z of the Material edit from 下载"

# 灯库: fixture 1's "+20", then the Material editor through button 4, then Ctrl+Z.
click 312 43
expect_lit 3 "灯库"
click 53 119 && click 1036 183
click 410 43
expect_lit 4 "素材"
xdotool key ctrl+z
sleep 0.6
expect_lit 3 "Ctrl+Z of the library edit from the Material editor"
echo "title bar: the highlight follows Ctrl+Z"
