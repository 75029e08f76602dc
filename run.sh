#!/usr/bin/env bash
# Builds the tool and starts it with the simulated Controller as its peer (on loopback).
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh lld
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
bin=build/bin
sim_pid=""
if [ -x "$bin/kx7420-sim" ]; then
    # The shipped SYSTEM.INI points the tool at 127.0.0.1:51801; the tool listens on 51800.
    mkdir -p build/sim-files
    "$bin/kx7420-sim" --port 51801 --tool-port 51800 --folder build/sim-files > build/sim.log 2>&1 &
    sim_pid=$!
    trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true' EXIT
    echo "Simulated Controller on 127.0.0.1:51801 (log: build/sim.log)"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    xvfb-run -a -s "-screen 0 1400x900x24" "$bin/kx7420"
else
    "$bin/kx7420"
fi
