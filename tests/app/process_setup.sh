# Sourced by the process tests once $program is set: a display of its own (Xvfb picks a free
# number and says which), a work folder with a copy of the program and its AppSet but no Show
# File, fail(), and a cleanup on exit that ends the program ($app), the simulator ($simpid) and
# the display, and removes the folder.
work=$(mktemp -d)
# No reset when the last client goes: the program killed and started again would otherwise find
# the display resetting and refusing it.
Xvfb -displayfd 3 -noreset -screen 0 1280x800x24 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
app=""
simpid=""
cleanup() {
    if [ -n "$app" ]; then kill -9 "$app" 2>/dev/null || true; fi
    if [ -n "$simpid" ]; then kill "$simpid" 2>/dev/null || true; fi
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
# The number is complete with its line end; the display then takes connections.
for _ in $(seq 100); do
    [ "$(wc -l <"$work/display")" -ge 1 ] && break
    sleep 0.05
done
export DISPLAY=":$(head -n 1 "$work/display")"
for _ in $(seq 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.05
done
cp "$program" "$work/kx7420"
cp -r "$(dirname "$program")/AppSet" "$work/"
rm -f "$work/S7420.K74"* "$work/AppSet/Sys_config/WORK_SET.ini"
# What the program said (start it with output to $work/app.log) helps to tell why.
fail() {
    echo "FAILED: $*" >&2
    [ -s "$work/app.log" ] && tail -n 20 "$work/app.log" >&2
    exit 1
}
# The program's main window (its title begins with the product name and a space) once it shows.
main_window() {
    local window=""
    for _ in $(seq 800); do
        window=$(xdotool search --onlyvisible --name '^KX-7420 ' 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && { echo "$window"; return; }
        sleep 0.05
    done
    fail "the main window did not appear"
}
