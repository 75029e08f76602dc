#!/usr/bin/env bash
# A working day connected, shortened to MINUTES (default 30): the program connected to the
# simulated Controller with the DMX monitor open, worked on in each editor in turn (typing in the
# Material editor's channel boxes, a fader dragged, Steps added and removed; Beats and the drum
# in the Effect editor; scene remarks; fixtures chosen in the library; the room control, test,
# download and device-file views), saved now and then. Each minute a line of RSS, CPU,
# descriptors and threads; at the end RSS and descriptors from start to end and the 0x6A period
# statistics of the whole run, beside their limits and beside what a bare real-time timer thread
# (kx7420-timer-floor) kept over the same minutes.
# Usage: bench/app/soak.sh [build-dir] [minutes] [program]
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build}"
minutes="${2:-30}"
program="$(realpath "${3:-$build/bin/kx7420}")"
sim="$(realpath "$build/bin/kx7420-sim")"
inputshow="$(realpath "$build/bin/kx7420-input-show")"
floor="$(realpath "$build/bench/kx7420-timer-floor")"
[ -x "$program" ] && [ -x "$sim" ] && [ -x "$inputshow" ] && [ -x "$floor" ] ||
    { echo "build first"; exit 1; }
source bench/app/bench_lib.sh
echo "soak for ${minutes} min (machine load: $(cut -d' ' -f1-3 /proc/loadavg))"

"$inputshow" make "$work"
start_sim
start_app
sleep 1
connect || fail "not connected"
open_monitor_behind || fail "the DMX monitor did not open"
sleep 1

quiet="$work/quiet.txt"
: >"$quiet"
# The view in front at start sends only the sets asked for, until the first round's Material
# editor streams.
quiet_from=$(sim_ns)
# The views that send frame sets only when asked were in front since quiet_from.
end_quiet() {
    if [ -n "$quiet_from" ]; then
        echo "$(( quiet_from - 500000000 )) $(( $(sim_ns) + 500000000 ))" >>"$quiet"
        quiet_from=""
    fi
}
round_material() {
    view_material
    sleep 0.4
    end_quiet
    for k in 1 2 3; do
        click $(( 27 + (k - 1) * 41 )) 426
        xdotool key ctrl+a
        xdotool type --delay 15 "$(( (RANDOM % 200) + 20 ))"
        xdotool key Return
    done
    xdotool mousemove --window "$window" 27 300 mousedown 1
    for y in 320 350 380 350 320; do xdotool mousemove --window "$window" 27 "$y"; sleep 0.02; done
    xdotool mouseup 1
    click 339 486 && click 493 486  # 加一步, 删除步: the Material keeps its size
}
round_effect() {
    view_effect
    sleep 0.4
    for k in 1 2 3 4; do click $(( 217 + (k - 1) * 41 )) 334 && sleep 0.1; done
    click 905 736 && sleep 2 && click 905 736  # 运行 for two seconds
}
round_scenes() {
    view_scenes
    sleep 0.3
    click 150 611
    xdotool key ctrl+a
    xdotool type --delay 10 "R$(( RANDOM % 1000 ))abc"
    xdotool key Return
}
round_library() {
    view_library
    sleep 0.3
    for n in 1 2 3 4; do click $(( 53 + (n - 1) * 84 )) 119; done
}
round_views() {
    quiet_from=$(sim_ns)
    for v in room test download upgrade; do "view_$v" && sleep 0.5; done
}

report() {
    awk -v m="$1" -v r="$(rss_kib)" -v h="$(heap_kib)" -v f="$(fd_count)" -v t="$(thread_count)" \
        -v c="$(cpu_ns)" -v c0="$cpu0" -v s="$(( $(date +%s) - start ))" \
        'BEGIN { printf "%3d min  RSS %.1f MB (heap %.1f MB)  fds %d  threads %d  CPU %.1f %% of one core\n",
                 m, r / 1024, h / 1024, f, t, (s > 0 ? 100 * (c - c0) / 1e9 / s : 0) }'
}

# One round and a save first: the views are built and shown once, and the heaps a save works in
# made, before the start figures are taken.
round_material && round_effect && round_scenes && round_library && round_views
save_now
sleep 3
# The Material editor streamed in that round: with no frame sets the clicks went elsewhere (a
# window over the program's), and the run would measure an idle program.
[ "$(wc -l <"$frames")" -ge 10 ] || fail "no frame sets in the first round"
start=$(date +%s)
cpu0=$(cpu_ns)
rss0=$(rss_kib)
fd0=$(fd_count)
first=$(( $(wc -l <"$frames") + 1 ))
# What this machine allowed a real-time beat meanwhile, to read the frame figures against.
"$floor" $(( minutes * 60 )) >"$work/floor.txt" &
floorpid=$!
report 0
# The edit history fills to its 200 entries within the first minutes of this editing; the climb
# after that is what a working day would keep adding.
settle=$(( minutes >= 20 ? 10 : minutes / 2 ))
rss_settled=""
minute=1
rounds=0
reopened=0
while [ $(( $(date +%s) - start )) -lt $(( minutes * 60 )) ]; do
    # The monitor stays open throughout; one closed meanwhile is opened again, and counted.
    if ! xdotool search --onlyvisible --name '^DMX监视$' >/dev/null 2>&1; then
        open_monitor_behind || fail "the DMX monitor did not open again"
        reopened=$(( reopened + 1 ))
    fi
    round_material
    round_effect
    round_scenes
    round_library
    round_views
    [ $(( rounds % 5 )) -eq 0 ] && save_now
    rounds=$(( rounds + 1 ))
    if [ $(( $(date +%s) - start )) -ge $(( minute * 60 )) ]; then
        report "$minute"
        [ "$minute" -eq "$settle" ] && rss_settled=$(rss_kib)
        minute=$(( minute + 1 ))
    fi
    kill -0 "$app" 2>/dev/null || fail "the program ended"
done
# The last round ended in those views, which stay in front to the end.
[ -n "$quiet_from" ] && echo "$(( quiet_from - 500000000 )) 9000000000000000000" >>"$quiet"
rss1=$(rss_kib)
fd1=$(fd_count)
echo "$rounds rounds of editing; the DMX monitor opened again $reopened times"
awk -v a="$rss0" -v b="$rss1" 'BEGIN { printf "RSS %.1f MB -> %.1f MB: growth %.2f MB (limit 2)\n",
    a / 1024, b / 1024, (b - a) / 1024 }'
[ -n "$rss_settled" ] && awk -v a="$rss_settled" -v b="$rss1" -v m="$settle" \
    'BEGIN { printf "RSS from minute %d on (the edit history full): %.1f MB -> %.1f MB, %+.2f MB\n",
             m, a / 1024, b / 1024, (b - a) / 1024 }'
echo "descriptors $fd0 -> $fd1 (limit: flat)"
# Each round adds a Step and removes one: a Material that grows makes every snapshot of it larger.
echo "Steps of the edited Material at the last save: $("$inputshow" steps "$work") (1 at the start)"
echo "frames, the room control, test, download and device-file views left out: $(frame_stats "$first" "$quiet")"
wait "$floorpid"
echo "  a bare real-time timer thread over the same minutes: $(cat "$work/floor.txt")"
