#!/usr/bin/env bash
# Compiler launcher for builds with precompiled headers: ccache, told that a precompiled header is
# safe to take from the cache, and able to serve a clone of the sources in any folder.
#
# Two things tie a cached result to the folder it was compiled in, and both are undone here:
# - CMake names the header each file includes before its own (cmake_pch.hxx) by an absolute path
#   that ccache does not rewrite, since it follows -Xclang; it is passed relative instead.
# - A precompiled header records the folder it was made in, so its bytes differ between clones.
#   Beside each one made, <header>.pch.sum receives a checksum of what it was made from (the
#   command and every file it read, the clone's folder left out), which ccache hashes instead of
#   the header's bytes.
set -euo pipefail
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
export CCACHE_PCH_EXTSUM=1
base="${CCACHE_BASEDIR:-}"
args=()
emit=0 out="" dep="" prev=""
for a in "$@"; do
    case "$prev" in
    -o) out="$a" ;;
    -MF) dep="$a" ;;
    -Xclang) [ -n "$base" ] && [ "${a#"$base"/}" != "$a" ] && a="$(realpath -m --relative-to=. "$a")" ;;
    esac
    [ "$a" = -emit-pch ] && emit=1
    args+=("$a")
    prev="$a"
done
if [ "$emit" -eq 0 ]; then exec ccache "${args[@]}"; fi

# A stale checksum beside a header that failed to build would let its users hit the cache.
rm -f "$out.sum"
# The header is taken from the cache only in the folder that made it: from another clone it would
# name that clone's folder, which may be gone. ccache hashes the folder itself only for some forms
# of -g, so the folder's name is handed to it as a file to hash.
pwd -P >"$out.dir"
CCACHE_EXTRAFILES="$out.dir" ccache "${args[@]}"
strip_base() { if [ -n "$base" ]; then sed "s|$base|<base>|g"; else cat; fi; }
{
    "${args[0]}" --version
    printf '%s\n' "${args[@]}" | strip_base
    sed -e 's/\\$//' -e 's/^[^:]*://' "$dep" | tr ' ' '\n' | grep -v '^$' | sort -u | while read -r f; do
        printf '%s %s\n' "$f" "$(strip_base <"$f" | sha256sum | cut -c1-64)" | strip_base
    done
} | sha256sum | cut -c1-64 >"$out.sum"
