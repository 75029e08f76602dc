#!/usr/bin/env bash
# How long ./test.sh takes on a fresh clone, phase by phase, against its limits; then how long the
# rebuild takes after one core .cpp changes.
#
# Usage: bench/build/build_phases.sh [--warm] [--keep] [--file src/<folder>/<file>.cpp]
#
# Clones the committed HEAD of this repository into a temporary folder and runs ./test.sh there
# with an empty private compiler cache, as on a fresh machine (--warm: with this machine's cache).
# Then appends a comment line to one core .cpp (default src/base/common.cpp, which every program
# links) and rebuilds. --keep leaves the clone and its logs in /tmp. The machine's load is printed beside the figures: the cores are shared.
set -euo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
warm=0
keep=0
file=src/base/common.cpp
while [ $# -gt 0 ]; do
    case "$1" in
    --warm) warm=1 ;;
    --keep) keep=1 ;;
    --file) file="$2"; shift ;;
    *) echo "usage: $0 [--warm] [--keep] [--file src/<folder>/<file>.cpp]"; exit 2 ;;
    esac
    shift
done

work="$(mktemp -d /tmp/kx-build-phases.XXXXXX)"
if [ "$keep" -eq 1 ]; then echo "clone and logs: $work"; else trap 'rm -rf "$work"' EXIT; fi
git clone -q "$repo" "$work/clone"
if [ "$warm" -eq 0 ]; then
    export CCACHE_DIR="$work/ccache"
fi
load_before="$(uptime | sed 's/.*load average: //')"
start=$(date +%s%N)
(cd "$work/clone" && ./test.sh) >"$work/test.log" 2>&1 || {
    tail -n 40 "$work/test.log"
    echo "./test.sh failed"
    exit 1
}
total_ms=$((($(date +%s%N) - start) / 1000000))
load_after="$(uptime | sed 's/.*load average: //')"

echo "// changed by build_phases.sh" >>"$work/clone/$file"
inc_start=$(date +%s%N)
cmake --build "$work/clone/build-check" >"$work/rebuild.log" 2>&1
inc_ms=$((($(date +%s%N) - inc_start) / 1000000))
steps=$(grep -c '^\[' "$work/rebuild.log" || true)

# Limits in seconds; together 15 minutes.
declare -A limit=([deps]=20 [configure]=20 [build]=540 [suite]=200 [fuzz]=120)
over=0
report() {  # name seconds(with one decimal) limit
    local mark=ok
    [ "${2%.*}" -lt "$3" ] || { mark=OVER; over=1; }
    printf '%-34s %7s s   limit %4d s   %s\n' "$1" "$2" "$3" "$mark"
}
if [ "$warm" -eq 1 ]; then echo "compiler cache: this machine's (warm)"; else echo "compiler cache: empty, private"; fi
while read -r name seconds; do
    report "$name" "$seconds" "${limit[$name]}"
done <"$work/clone/build-check/phases.txt"
report "./test.sh in all" "$((total_ms / 1000)).$((total_ms % 1000 / 100))" 900
report "rebuild after changing $(basename "$file")" "$((inc_ms / 1000)).$((inc_ms % 1000 / 100))" 30
echo "  (${steps} build steps)"
echo "load average before: $load_before; after the suite: $load_after (2 cores)"
[ "$over" -eq 0 ]
