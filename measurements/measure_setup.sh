#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times the set-up's two builds, each from an empty build folder and without
# any compiler cache: what "./setup.sh play" builds before the game starts,
# and what "./setup.sh test" builds before the suite runs. The packages are
# expected to be installed already (run ./setup.sh build once), so only the
# configuration and the build are timed.
#
#   measurements/measure_setup.sh [--keep] [--compare]
#
#   --keep      leave the build folders behind (their path is printed)
#   --compare   build both once more without the precompiled header and the
#               unity build, to see what they save
#
# The figures depend on how busy the machine is: say so with them.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
keep=false
compare=false
for option in "$@"; do
    case "$option" in
    --keep) keep=true ;;
    --compare) compare=true ;;
    *)
        echo "usage: $0 [--keep] [--compare]" >&2
        exit 2
        ;;
    esac
done

scratch=$(mktemp -d)
cleanup() { $keep || rm -rf "$scratch"; }
trap cleanup EXIT

# Prints the wall-clock seconds and the processor seconds (user and system,
# of every process the build ran) of one set-up run. On a busy machine the
# processor time says more than the wall clock.
# measure MODE FOLDER [CMAKE OPTIONS]
measure() {
    local TIMEFORMAT='%R %U %S' timing
    # The set-up's own build steps, with its output kept aside.
    timing=$({ time CCACHE_DISABLE=1 VELTRANO_BUILD_DIR="$scratch/$2" \
        VELTRANO_CMAKE_OPTIONS="${3:-}" "$here/setup.sh" "$1" >"$scratch/$2.log" 2>&1; } 2>&1) ||
        { tail -20 "$scratch/$2.log" >&2; return 1; }
    echo "$timing" | awk '{ printf "%.1f s wall, %.1f s of processor", $1, $2 + $3 }'
}

echo "cores: $(nproc), load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "play (the game alone):  $(measure game game)"
echo "test (everything):      $(measure build build)"
if $compare; then
    plain="-DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON -DVELTRANO_UNITY_BUILD=OFF"
    echo "without the precompiled header and the unity build:"
    echo "play (the game alone):  $(measure game game-plain "$plain")"
    echo "test (everything):      $(measure build build-plain "$plain")"
fi
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
$keep && echo "build folders: $scratch"
