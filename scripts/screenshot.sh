#!/usr/bin/env bash
# Starts the tool under Xvfb and saves a screenshot of the screen once the main window is shown.
# Usage: scripts/screenshot.sh [output.png]   (build first with ./run.sh or ./test.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build/screenshot.png}"
scripts/deps.sh x11-utils imagemagick
display=":$((80 + RANDOM % 9))"
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY="$display"
build/bin/kx7420 >/dev/null 2>&1 &
app=$!
until xwininfo -root -tree 2>/dev/null | grep -q '"KX-7420'; do sleep 0.05; done
sleep 1
import -window root "$out"
echo "saved $out"
