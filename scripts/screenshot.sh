#!/usr/bin/env bash
# Starts the tool under Xvfb and saves a PNG of the main window (1280 x 768) with each view the
# title bar reaches: the splash view and the status line after a save, then 灯控, 灯库 (with a few
# fixtures patched, its Channel Function picker, Common Fixtures and Fixture Group panels, and the
# overlap marks), 场景 and the Effect editor (also a new one), 测试, 下载, through a double click on
# the datagram counters the firmware-upgrade view, and the Material editor opened from an Effect's
# Slot, bare and with its fixture, Temporary Channel and Motion Generator panels open, the chase
# generator with a listing, the built-in Materials with a description, the fixture mapping with
# its offer of definitions; the DMX monitor over the library and over a running Effect.
# Usage: scripts/screenshot.sh [output-folder] [program]   (build first with ./run.sh or ./test.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build/screenshots}"
program="${2:-build/bin/kx7420}"
scripts/deps.sh x11-utils imagemagick xdotool
mkdir -p "$out"
display=":$((80 + RANDOM % 9))"
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
app=""
trap '[ -n "$app" ] && kill $app 2>/dev/null; kill $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY="$display"
"$program" >/dev/null 2>&1 &
app=$!
window=""
for _ in $(seq 200); do
    # A first start without a Show File says so in a message box: answer it.
    box=$(xdotool search --onlyvisible --name '^KX-7420$' 2>/dev/null | head -n 1 || true)
    [ -n "$box" ] && { xdotool key --window "$box" Return 2>/dev/null || true; }
    window=$(xdotool search --onlyvisible --name '^KX-7420 ' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.05
done
[ -n "$window" ] || { echo "the main window did not appear" >&2; exit 1; }
sleep 1

shot() {
    sleep 0.6
    import -window "$window" "$out/$1.png"
    echo "saved $out/$1.png ($(identify -format '%wx%h' "$out/$1.png"))"
}
# Centres of the title bar's function buttons and of the counters label, in window pixels.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
shot 0-splash
# 保存: the status line below the function buttons confirms the save and names the file.
click 712 34 && shot 0a-保存状态
click 214 43 && shot 1-灯控
# "红外空调学习界面", then "返回灯控", so that 灯控 leads to the room control editor again.
click 1052 481 && shot 1a-灯控-红外空调
click 1008 326
click 312 43
# The fixture library with a few fixtures patched by typing, as a technician does it: fixture n's
# button, its name, address and channel count, then some fader values on fixture 1.
for n in 1 2 3 4 5 6; do
    col=$(( (n - 1) % 10 )); row=$(( (n - 1) / 10 ))
    click $(( 53 + col * 84 )) $(( 119 + row * 26 ))
    click 1016 151 && xdotool key ctrl+a && xdotool type "Par $n"
    click 950 183 && xdotool key ctrl+a && xdotool type "$(( 1 + (n - 1) * 8 ))" && xdotool key Return
    click 950 215 && xdotool key ctrl+a && xdotool type "8" && xdotool key Return
done
click 53 119
for ch in 1 2 3 4 5 6 7 8; do click $(( 71 + (ch - 1) * 54 )) $(( 470 + ch * 28 )); done
shot 3-灯库
click 71 442 && shot 3a-灯库-通道定义
click 71 442
# The Common Fixtures panel searched for "qa12": the manufacturer and the modes found.
click 1184 313 && click 1071 118 && xdotool type "qa12" && shot 3b-灯库-常用灯具
click 1071 118 && xdotool key ctrl+a BackSpace
click 1184 313
click 1242 313 && click 1119 126 && click 137 119 && click 221 119 && shot 3c-灯库-灯具分组
click 1242 313
click 410 43 && shot 4-场景
# Effect 1 in the Effect editor: 4 Bars of 8 Beats typed into the count boxes, a few grid cells,
# then the same with "4素材关联" on; "返回" leads back to the scenes.
click 64 347
click 144 122 && xdotool key ctrl+a && xdotool type "4" && xdotool key Return
click 254 122 && xdotool key ctrl+a && xdotool type "8" && xdotool key Return
for cell in "1 1" "2 2" "3 3" "4 4" "5 1" "9 5" "1 7"; do
    set -- $cell
    click $(( 217 + ($2 - 1) * 41 )) $(( 334 + ($1 - 1) * 33 ))
done
shot 4a-效果
click 780 595 && shot 4b-效果-4素材关联
click 780 595
click 1205 729
click 508 43 && shot 5-测试
click 606 43 && shot 6-下载
xdotool mousemove --window "$window" 1063 22 click --repeat 2 --delay 80 1 && shot 7-升级程序
# 场景's first Effect, its first Slot, then in the Material editor "灯具设置" with 12 Virtual
# Fixtures of 24 channels typed into its counts, a double click on the Temporary Channel list,
# the motion mode "画圆" and "显示参数".
click 410 43 && sleep 0.3 && click 64 347 && sleep 0.3 && click 119 334 && shot 8-素材
click 1043 139
typed() { click "$1" "$2" && xdotool key ctrl+a && xdotool type "$3" && xdotool key Return; }
typed 85 212 12
typed 201 212 24
xdotool mousemove --window "$window" 1055 481 click --repeat 2 --delay 80 1
click 983 396 && sleep 0.3 && xdotool key Down Return
click 1073 396 && shot 9-素材面板
# The fixture panel hidden again: the Virtual Fixture bar and the faders of channels 1-20, and
# the word that the channels are all "空".
click 778 212 && shot 10-素材推杆
# "跑马工具" over the faders: type "01-头尾衔接", 3 lit, "生成数据" lists the Steps.
click 1108 107 && click 191 219 && sleep 0.3 && xdotool key Down Return
typed 191 257 3
click 326 238 && shot 12-素材-跑马
click 1108 107
# "标准素材" with the description of its first entry (right click).
click 956 107 && click 64 241 && sleep 0.3
xdotool mousemove --window "$window" 115 283 click 3 && shot 13-素材-标准素材
click 956 107

# The DMX monitor (F9) over the Fixture Library preview: the six
# pars get colour functions and values (fixture 6 also pan and tilt, fixture 7 overlaps it), then
# the monitor opens beside the main window and a cell is clicked to name its fixture channel.
define() { click $(( 71 + ($1 - 1) * 54 )) 442 && click "$2" "$3"; }
value() {
    click $(( 71 + ($1 - 1) * 54 )) 745 && sleep 0.1 && xdotool key ctrl+a && xdotool type "$2"
    xdotool key Return && sleep 0.1
}
click 312 43
colours=("255 0 0 0" "0 255 0 0" "0 0 255 0" "255 150 0 0" "190 0 255 0" "0 0 0 255")
for n in 1 2 3 4 5 6; do
    click $(( 53 + (n - 1) * 84 )) 119
    define 1 732 176 && define 2 808 176 && define 3 48 200 && define 4 124 200
    read -r r g b w <<< "${colours[$((n - 1))]}"
    value 1 "$r" && value 2 "$g" && value 3 "$b" && value 4 "$w"
done
define 5 124 152 && define 6 200 152 && value 5 200 && value 6 60
# Fixture 7 patched over fixture 6's last channels, to show the overlap marks.
click 557 119
click 1016 151 && xdotool key ctrl+a && xdotool type "Wash 7"
click 950 183 && xdotool key ctrl+a && xdotool type "46" && xdotool key Return
click 950 215 && xdotool key ctrl+a && xdotool type "3" && xdotool key Return
define 1 732 176 && define 2 808 176 && define 3 48 200
value 1 0 && value 2 255 && value 3 255
xdotool key F9
monitor=""
for _ in $(seq 100); do
    monitor=$(xdotool search --onlyvisible --name 'DMX监视' 2>/dev/null | head -n 1 || true)
    [ -n "$monitor" ] && break
    sleep 0.05
done
[ -n "$monitor" ] || { echo "the DMX monitor did not open" >&2; exit 1; }
xdotool mousemove --window "$monitor" 369 58 click 1
sleep 0.6
import -window "$monitor" "$out/11-DMX监视.png"
echo "saved $out/11-DMX监视.png ($(identify -format '%wx%h' "$out/11-DMX监视.png"))"
# The library grid marks fixtures 6 and 7, and the details say with which fixture 7 overlaps.
xdotool key F9 && shot 3d-灯库-重叠

# Effect 1's first Slot again: Virtual Fixtures 1-6 mapped onto the six pars, whose definitions
# the panel then offers; taken, the faders show R, G, B ... instead of "空".
click 410 43 && sleep 0.3 && click 64 347 && sleep 0.3 && click 119 334 && sleep 0.3
click 1043 139
for n in 1 2 3 4 5 6; do
    click $(( 33 + (n - 1) * 40 )) 237 && click $(( 69 + (n - 1) * 113 )) 283
done
shot 14-素材-灯具映射
click 561 212 && click 778 212 && shot 15-素材-通道定义
# The Effect running with the automatic drum, Slot 1 on every Beat, and the DMX monitor over it.
click 1231 107 && sleep 0.3
for k in 1 2 3 4 5 6 7 8; do click $(( 217 + (k - 1) * 41 )) 334 && sleep 0.2; done
click 905 736 && shot 16-效果-运行
xdotool key F9
sleep 1.5
monitor=$(xdotool search --onlyvisible --name 'DMX监视' 2>/dev/null | head -n 1 || true)
[ -n "$monitor" ] || { echo "the DMX monitor did not open again" >&2; exit 1; }
import -window "$monitor" "$out/16a-DMX监视-效果.png"
echo "saved $out/16a-DMX监视-效果.png ($(identify -format '%wx%h' "$out/16a-DMX监视-效果.png"))"
xdotool key F9 && click 905 736 && click 905 736
# A new Effect: the prompt over the Bar selection, and the panels with independent bass on.
click 1205 729 && sleep 0.3 && click 168 347 && shot 4c-效果-新效果
