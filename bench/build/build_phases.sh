#!/usr/bin/env bash
# How long ./test.sh takes on a fresh clone, phase by phase, against its limits; then how long the
# rebuild takes after one core .cpp changes.
#
# Usage: bench/build/build_phases.sh [--warm | --cache <dir>] [--keep] [--file src/<folder>/<file>.cpp]
#
# Clones the committed HEAD of this repository into a temporary folder and runs ./test.sh there
# with an empty private compiler cache, as on a fresh machine (--warm: with this machine's cache;
# --cache <dir>: with the cache in <dir>, kept for the next run, so that a second run shows what a
# clone in another folder takes from the first run's cache).
# Then appends a comment line to one core .cpp (default src/base/common.cpp, which every program
# links) and rebuilds. --keep leaves the clone and its logs in /tmp. The machine's load is printed beside the figures: the cores are shared.
set -euo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
warm=0
cache=""
keep=0
file=src/base/common.cpp
while [ $# -gt 0 ]; do
    case "$1" in
    --warm) warm=1 ;;
    --cache) cache="$2"; shift ;;
    --keep) keep=1 ;;
    --file) file="$2"; shift ;;
    *) echo "usage: $0 [--warm | --cache <dir>] [--keep] [--file src/<folder>/<file>.cpp]"; exit 2 ;;
    esac
    shift
done

# CPU seconds (user + system) used so far by the finished children of this script.
cpu_seconds() {
    awk -v t="$(getconf CLK_TCK)" '{ print int(($16 + $17) / t) }' /proc/$$/stat
}

work="$(mktemp -d /tmp/kx-build-phases.XXXXXX)"
if [ "$keep" -eq 1 ]; then echo "clone and logs: $work"; else trap 'rm -rf "$work"' EXIT; fi
git clone -q "$repo" "$work/clone"
if [ -n "$cache" ]; then
    mkdir -p "$cache"
    export CCACHE_DIR="$(cd "$cache" && pwd)"
elif [ "$warm" -eq 0 ]; then
    export CCACHE_DIR="$work/ccache"
fi
# Counts this run's compiler cache hits alone, whoever else uses the cache meanwhile.
export CCACHE_STATSLOG="$work/ccache-stats.log"
load_before="$(uptime | sed 's/.*load average: //')"
start=$(date +%s%N)
(cd "$work/clone" && ./test.sh) >"$work/test.log" 2>&1 || {
    tail -n 40 "$work/test.log"
    echo "./test.sh failed"
    exit 1
}
total_ms=$((($(date +%s%N) - start) / 1000000))
load_after="$(uptime | sed 's/.*load average: //')"

unset CCACHE_STATSLOG
echo "// changed by build_phases.sh" >>"$work/clone/$file"
inc_start=$(date +%s%N)
inc_cpu=$(cpu_seconds)
cmake --build "$work/clone/build-check" >"$work/rebuild.log" 2>&1
inc_ms=$((($(date +%s%N) - inc_start) / 1000000))
inc_cpu=$(($(cpu_seconds) - inc_cpu))
steps=$(grep -c '^\[' "$work/rebuild.log" || true)

# Limits in seconds; together 15 minutes.
declare -A limit=([deps]=20 [configure]=20 [build]=540 [suite]=200 [fuzz]=120)
over=0
report() {  # name seconds(with one decimal) limit
    local mark=ok
    [ "${2%.*}" -lt "$3" ] || { mark=OVER; over=1; }
    printf '%-34s %7s s   limit %4d s   %s\n' "$1" "$2" "$3" "$mark"
}
if [ -n "$cache" ]; then echo "compiler cache: $CCACHE_DIR"
elif [ "$warm" -eq 1 ]; then echo "compiler cache: this machine's (warm)"
else echo "compiler cache: empty, private"; fi
while read -r name seconds; do
    report "$name" "$seconds" "${limit[$name]}"
done <"$work/clone/build-check/phases.txt"
printf '%-34s %7s s   goal %5d s   (CPU, user + system)\n' "build CPU" \
    "$(cat "$work/clone/build-check/build-cpu.txt")" 700
hits=$(CCACHE_STATSLOG="$work/ccache-stats.log" ccache --show-log-stats 2>/dev/null | grep -E '^ *(Hits|Misses):' | head -2 | tr -s ' ' | tr '\n' ';')
echo "compiler cache this run: ${hits:-no stats}"
report "./test.sh in all" "$((total_ms / 1000)).$((total_ms % 1000 / 100))" 900
report "rebuild after changing $(basename "$file")" "$((inc_ms / 1000)).$((inc_ms % 1000 / 100))" 30
echo "  (${steps} build steps, ${inc_cpu} s of CPU)"
echo "load average before: $load_before; after the suite: $load_after (2 cores)"
[ "$over" -eq 0 ]
