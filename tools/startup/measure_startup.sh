#!/usr/bin/env bash
# Times the game's start-up on a private Xvfb with no window manager: from
# exec to the splash mapped, to the main window mapped, and the peak resident
# memory two seconds after the main window came up. One warm-up run, then the
# measured runs; prints each run and the medians.
#
#   measure_startup.sh [--bare] [--runs N] [--build DIR]
#
#   --bare       time a bare Qt window of the same size instead of the game
#   --runs N     measured runs after the warm-up (default 5)
#   --build DIR  the build directory (default $VELTRANO_BUILD_DIR, else build/)
#
# All runs of a series start in one fresh temporary directory, so the warm-up
# creates the settings file and the measured runs find it, as a player's
# second start does.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(cd "$here/../.." && pwd)
build=${VELTRANO_BUILD_DIR:-$top/build}
bare=false
runs=5

while [ $# -gt 0 ]; do
    case $1 in
    --bare) bare=true ;;
    --runs)
        runs=$2
        shift
        ;;
    --build)
        build=$2
        shift
        ;;
    *)
        echo "usage: $0 [--bare] [--runs N] [--build DIR]" >&2
        exit 2
        ;;
    esac
    shift
done
build=$(cd "$build" && pwd)

mapwatch=$build/tools/startup/mapwatch
if $bare; then
    program=$build/tools/startup/bare_window
    watch=(--main-name "bare Qt window")
else
    program=$build/partie/veltrano
    watch=()
fi
for f in "$mapwatch" "$program"; do
    [ -x "$f" ] || {
        echo "missing $f: build the project first (cmake --build $build)" >&2
        exit 1
    }
done

# shellcheck source=tests/x11/xvfb.sh
. "$top/tests/x11/xvfb.sh"
unset DISPLAY
work=$(mktemp -d "${TMPDIR:-/tmp}/veltrano-startup.XXXXXX")
trap 'xvfb_stop; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM HUP
mkdir -p "$work/run" "$work/xdg"
chmod 700 "$work/xdg"
xvfb_start "$work"

export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/xdg
echo "program: $program"
: >"$work/results"
for ((i = 0; i <= runs; i++)); do
    # "splash_mapped_ms=S main_mapped_ms=M peak_rss_kib=K"
    line=$("$mapwatch" --dir "$work/run" "${watch[@]}" -- "$program")
    read -r splash main rss_kib < <(sed -E 's/[a-z_]+=//g' <<<"$line")
    rss_mib=$(awk -v k="$rss_kib" 'BEGIN { printf "%.1f", k / 1024 }')
    if [ "$i" -eq 0 ]; then
        echo "warm-up: splash $splash ms, main $main ms, peak RSS $rss_mib MiB"
        continue
    fi
    echo "run $i: splash $splash ms, main $main ms, peak RSS $rss_mib MiB"
    echo "$splash $main $rss_mib" >>"$work/results"
done

median() {
    local column=$1
    awk -v c="$column" '$c != "-" { print $c }' "$work/results" | sort -g |
        awk '{ v[NR] = $1 } END {
            if (NR == 0) { print "-"; exit }
            if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2
        }'
}
echo "splash_mapped_ms median $(median 1)"
echo "main_mapped_ms median $(median 2)"
echo "peak_rss_mib median $(median 3)"
