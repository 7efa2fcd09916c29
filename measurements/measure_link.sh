#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times linking every program of a whole build with each linker that this
# machine's compiler can use: the default one, gold and mold when installed.
# Only the links run again: the build is reconfigured with the linker named
# in the link flags, which changes no object file.
#
#   measurements/measure_link.sh BUILD_DIR      # a folder that `./setup.sh build` made
#
# Prints the processor seconds (user and system, of every process) and the
# wall-clock seconds of each relink; the build is left as it was configured.
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR}
[ -f "$build/CMakeCache.txt" ] || { echo "$0: $build is not a configured build" >&2; exit 2; }
jobs=$(nproc)
configured=$(sed -n 's/^CMAKE_EXE_LINKER_FLAGS:[A-Z]*=//p' "$build/CMakeCache.txt")

relink() {
    local TIMEFORMAT='%R %U %S' timing
    cmake "$build" -DCMAKE_EXE_LINKER_FLAGS="$1" >/dev/null
    timing=$({ time cmake --build "$build" -j"$jobs" >"$build/measure_link.log" 2>&1; } 2>&1)
    echo "$timing" | awk '{ printf "%.1f s of processor, %.1f s wall", $2 + $3, $1 }'
}

echo "cores: $jobs, load before: $(cut -d' ' -f1-3 /proc/loadavg)"
cmake --build "$build" -j"$jobs" >/dev/null # nothing but links left to do
for linker in bfd gold mold; do
    if echo 'int main() {}' | g++ -x c++ - -fuse-ld=$linker -o /dev/null 2>/dev/null; then
        echo "$linker: $(relink -fuse-ld=$linker)"
    else
        echo "$linker: not installed"
    fi
done
relink "$configured" >/dev/null
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
