#!/usr/bin/env bash
# Times the set-up's two builds, each from an empty build folder and without
# any compiler cache: what "./setup.sh play" builds before the game starts,
# and what "./setup.sh test" builds before the suite runs. The packages are
# expected to be installed already (run ./setup.sh build once), so only the
# configuration and the build are timed.
#
#   tools/measure_setup.sh [--keep]
#
#   --keep   leave the two build folders behind (their paths are printed)
#
# The figures depend on how busy the machine is: say so with them.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
keep=false
[ "${1:-}" = --keep ] && keep=true

scratch=$(mktemp -d)
cleanup() { $keep || rm -rf "$scratch"; }
trap cleanup EXIT

seconds() {
    local start end
    start=$(date +%s.%N)
    # The set-up's own build steps, with its output kept aside.
    CCACHE_DISABLE=1 VELTRANO_BUILD_DIR="$scratch/$1" "$here/setup.sh" "$1" >"$scratch/$1.log" 2>&1 ||
        { tail -20 "$scratch/$1.log" >&2; return 1; }
    end=$(date +%s.%N)
    echo "$start $end" | awk '{ printf "%.1f", $2 - $1 }'
}

echo "cores: $(nproc), load before: $(cut -d' ' -f1-3 /proc/loadavg)"
play=$(seconds game)
echo "play (the game alone):  ${play} s"
whole=$(seconds build)
echo "test (everything):      ${whole} s"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
$keep && echo "build folders: $scratch/game $scratch/build"
