# Sourced by the process benchmarks once $program is set: the process tests' display and work
# folder (tests/app/process_setup.sh), then helpers to start the simulated Controller and the
# program, reach the views through the title bar and read what /proc says about the program.
source "$(dirname "${BASH_SOURCE[0]}")/../../tests/app/process_setup.sh"
frames="$work/frames.txt"

# The simulated Controller where the shipped settings point the tool, logging 0x6A arrivals; with
# SIM_ADDRESS set (127.0.0.x), on that address, the tool's copy of the settings pointing there, so
# a benchmark can run beside another. Where the system allows it the simulator runs with a
# real-time priority: it measures, and its own wake-up delays on a busy machine are not the
# program's.
start_sim() {
    local address="${SIM_ADDRESS:-127.0.0.1}" rt=()
    sed -i "s/^WIFI_IP=.*/WIFI_IP=$address/" "$work/AppSet/SYSTEM.INI"
    chrt -f 20 true 2>/dev/null && rt=(chrt -f 20)
    mkdir -p "$work/sim-files"
    "${rt[@]}" "$sim" --address "$address" --port 51801 --tool-port 51800 \
        --folder "$work/sim-files" --quiet --memory-log 0 --keepalive-ms 5000 \
        --frame-times "$frames" &
    simpid=$!
}
start_app() {
    "$work/kx7420" >>"$work/app.log" 2>&1 &
    app=$!
    window=$(main_window)
}
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }

# The title bar: function buttons, 保存, 连接, the device files (a double click on the counters).
view_room() { click 214 34; }
view_library() { click 312 34; }
view_scenes() { click 410 34; }
view_test() { click 508 34; }
view_download() { click 606 34; }
view_upgrade() { xdotool mousemove --window "$window" 1063 22 click --repeat 2 --delay 80 1; }
save_now() { click 712 34; }
# From the scene editor: the current scene's Effect, then its Slot 1's Material.
view_effect() { view_scenes && sleep 0.4 && click 64 347; }
view_material() { view_effect && sleep 0.4 && click 119 334; }
toggle_monitor() { xdotool key --window "$window" F9; }
# Opens the DMX monitor (the title bar's DMX button) and puts the main window back in front of
# it, with the keyboard: without a window manager the monitor opens over the title bar, where the
# clicks that follow would land, and keeps the focus, so that typing would go to it (Return
# closing it). False when it did not open.
open_monitor_behind() {
    click 1256 62
    for _ in $(seq 60); do
        if xdotool search --onlyvisible --name '^DMX监视$' >/dev/null 2>&1; then
            xdotool windowraise "$window" windowfocus "$window"
            return 0
        fi
        sleep 0.05
    done
    return 1
}

# The program started on the show in $work, connected, in the Effect editor with its 运行 on: the
# Effect streams a frame set every tick.
start_streaming() {
    start_app
    sleep 1
    connect || fail "not connected with the largest show"
    view_effect
    sleep 0.5
    click 905 736
    sleep 1
}
# $1 saves, 2 s apart.
save_times() {
    for _ in $(seq "$1"); do
        save_now
        sleep 2
    done
}

# Connects (once more if the first click came before the window took input); false when no
# frame set arrives.
connect() {
    for _ in 1 2 3; do
        click 814 34
        for _ in $(seq 30); do
            [ -s "$frames" ] && return 0
            sleep 0.1
        done
    done
    return 1
}

# CPU nanoseconds of the process's threads (of process $1, default the program), the voluntary
# switches of its main thread (each time it slept and then woke) and the involuntary ones (each
# time another process on a busy machine took the core from it), resident memory in KiB, open
# descriptors, threads.
cpu_ns() { cat /proc/"${1:-$app}"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%.0f", s}'; }
wakeups() { awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/${1:-$app}/task/${1:-$app}/status"; }
preemptions() { awk '/^nonvoluntary_ctxt_switches/ {print $2}' "/proc/${1:-$app}/task/${1:-$app}/status"; }
rss_kib() { awk '/^VmRSS/ {print $2}' "/proc/$app/status"; }
# Resident KiB of the main thread's heap (the [heap] mapping), where a slow climb shows first.
heap_kib() { awk '/\[heap\]$/ {h = 1; next} h && /^Rss:/ {print $2; exit}' "/proc/$app/smaps"; }
fd_count() { ls "/proc/$app/fd" | wc -l; }
thread_count() { awk '/^Threads/ {print $2}' "/proc/$app/status"; }

# Nanoseconds on the simulator's clock (from its start, as in the arrivals file).
sim_ns() {
    local start
    start=$(awk '{print $22}' "/proc/$simpid/stat")
    awk -v s="$start" -v hz="$(getconf CLK_TCK)" '{printf "%.0f\n", $1 * 1e9 - s * 1e9 / hz}' /proc/uptime
}

# The 0x6A period statistics of the arrivals from line $1 on (1: all): count, deviation from
# 100 ms (median, p99, worst, in ms) and missed ticks (a period of 150 ms or more). Periods that
# overlap a window of the file $2 ("from to" in simulator nanoseconds, a view in front that sends
# frame sets only when asked) are left out.
frame_stats() {
    tail -n +"${1:-1}" "$frames" |
        awk -v windows="${2:-/dev/null}" '
            BEGIN { while ((getline line < windows) > 0) { split(line, w, " "); n++; a[n] = w[1]; b[n] = w[2] } }
            NR > 1 { skip = 0; for (i = 1; i <= n; i++) if (prev < b[i] && $1 > a[i]) skip = 1
                     if (!skip) { p = ($1 - prev) / 1e6; d = p - 100; if (d < 0) d = -d
                                  printf "%.6f %.6f\n", d, p } }
            { prev = $1 }' |
        sort -n | awk '{ d[NR] = $1; if ($2 >= 150) missed++ }
            END { if (NR == 0) { print "no frame periods"; exit }
                  i50 = int(NR * 0.5); if (i50 < 1) i50 = 1
                  i99 = int(NR * 0.99 + 0.999); if (i99 > NR) i99 = NR
                  printf "%d periods, deviation from 100 ms: median %.3f ms, p99 %.3f ms (limit 0.5), worst %.3f ms; missed ticks %d (limit 0)\n",
                      NR, d[i50], d[i99], d[NR], missed + 0 }'
}
