#!/usr/bin/env bash
# Times the game's start-up against a bare Qt window of the same size, and
# against the other peg-solitaire programs installed on this machine, on a
# private Xvfb with no window manager: from exec to the main window mapped,
# and the peak resident memory (VmHWM) two seconds after it came up.
#
#   measure_startup.sh [--rounds N] [--build DIR] [--no-peers]
#                      [--no-instructions] [--no-gl-only | --gl-only]
#
#   --rounds N          measured rounds per series (default 7)
#   --build DIR         the build directory (default $VELTRANO_BUILD_DIR,
#                       else build/)
#   --no-peers          time only the game and the bare window
#   --no-instructions   skip the instruction counts
#   --gl-only           only the series with the default environment
#   --no-gl-only        only the series without GL
#
# Two series, one with the default environment and one without GL
# (QT_XCB_GL_INTEGRATION=none). Each starts with one warm-up start of every
# program; then every round starts each program once, in a shuffled order,
# so that a change of load on the machine falls on all of them alike. Each
# program has its own fresh directory: the warm-up creates the game's
# settings file, which the measured starts find, as a player's second start
# does. Prints every round with the game's ratios to the bare window, then
# the medians of times, memories and per-round ratios.
#
# Last, where valgrind is installed, the instructions of the game and of the
# bare window from exec to the first flush of their main window, and of that
# first paint alone (callgrind, every thread together).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(cd "$here/../.." && pwd)
build=${VELTRANO_BUILD_DIR:-$top/build}
rounds=7
peers=true
instructions=true
series=(gl nogl)

usage() {
    sed -n '7,14p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

while [ $# -gt 0 ]; do
    case $1 in
    --rounds)
        rounds=$2
        shift
        ;;
    --runs) # the former name
        rounds=$2
        shift
        ;;
    --build)
        build=$2
        shift
        ;;
    --no-peers) peers=false ;;
    --no-instructions) instructions=false ;;
    --gl-only) series=(gl) ;;
    --no-gl-only) series=(nogl) ;;
    *) usage ;;
    esac
    shift
done
build=$(cd "$build" && pwd)

mapwatch=$build/tools/startup/mapwatch
game=$build/partie/veltrano
bare=$build/tools/startup/bare_window
for f in "$mapwatch" "$game" "$bare"; do
    [ -x "$f" ] || {
        echo "missing $f: build the project first (cmake --build $build)" >&2
        exit 1
    }
done

names=(veltrano bare)
declare -A program
program[veltrano]=$game
program[bare]=$bare
if $peers; then
    for peer in peg-solitaire pegsolitaire sgt-pegs; do
        path=$(PATH=$PATH:/usr/games command -v "$peer" || true)
        if [ -n "$path" ]; then
            names+=("$peer")
            program[$peer]=$path
        fi
    done
fi

# shellcheck source=tests/x11/xvfb.sh
. "$top/tests/x11/xvfb.sh"
unset DISPLAY
work=$(mktemp -d "${TMPDIR:-/tmp}/veltrano-startup.XXXXXX")
trap 'xvfb_stop; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM HUP
mkdir -p "$work/xdg"
chmod 700 "$work/xdg"
xvfb_start "$work"
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/xdg

echo "load: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
echo "programs: ${names[*]}"

# start NAME SERIES: one start; prints "MAP_MS RSS_KIB"
start() {
    local name=$1 kind=$2 line
    # how mapwatch recognises the main window
    local -a opts=(--first)
    [ "$name" = veltrano ] && opts=()
    [ "$name" = bare ] && opts=(--main-name "bare Qt window")
    mkdir -p "$work/run/$name"
    if [ "$kind" = nogl ]; then
        line=$(QT_XCB_GL_INTEGRATION=none "$mapwatch" --dir "$work/run/$name" "${opts[@]}" \
            -- "${program[$name]}" 2>"$work/stderr")
    else
        line=$("$mapwatch" --dir "$work/run/$name" "${opts[@]}" -- "${program[$name]}" 2>"$work/stderr")
    fi
    # the programs' own chatter is left out, not the measurement's complaints
    grep '^mapwatch:' "$work/stderr" >&2 || true
    sed -E 's/.*main_mapped_ms=([0-9.]+) peak_rss_kib=([0-9]+).*/\1 \2/' <<<"$line"
}

median() {
    sort -g | awk '{ v[NR] = $1 } END {
        if (NR == 0) { print "-"; exit }
        if (NR % 2) print v[(NR + 1) / 2]; else printf "%.2f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2
    }'
}

for kind in "${series[@]}"; do
    label="default environment"
    [ "$kind" = nogl ] && label="without GL (QT_XCB_GL_INTEGRATION=none)"
    echo
    echo "== $label"
    rm -rf "$work/run"
    for name in "${names[@]}"; do
        start "$name" "$kind" >/dev/null
    done
    : >"$work/$kind"
    for ((r = 1; r <= rounds; r++)); do
        declare -A map=() rss=()
        for name in $(printf '%s\n' "${names[@]}" | shuf); do
            read -r map[$name] rss[$name] < <(start "$name" "$kind")
        done
        out="round $r:"
        for name in "${names[@]}"; do
            ratio=$(awk -v a="${map[$name]}" -v b="${map[bare]}" 'BEGIN { printf "%.2f", a / b }')
            mib=$(awk -v k="${rss[$name]}" 'BEGIN { printf "%.1f", k / 1024 }')
            rssRatio=$(awk -v a="${rss[$name]}" -v b="${rss[bare]}" 'BEGIN { printf "%.2f", a / b }')
            echo "$name ${map[$name]} $mib $ratio $rssRatio" >>"$work/$kind"
            [ "$name" = bare ] && out+=" bare ${map[$name]} ms $mib MiB;" ||
                out+=" $name ${map[$name]} ms (${ratio}x) $mib MiB (${rssRatio}x);"
        done
        echo "${out%;}"
    done
    echo "medians over $rounds rounds (map ms, VmHWM MiB, per-round ratios to bare):"
    for name in "${names[@]}"; do
        col() { awk -v n="$name" -v c="$1" '$1 == n { print $c }' "$work/$kind" | median; }
        printf '  %-14s map %7s ms  VmHWM %6s MiB  map ratio %5s  VmHWM ratio %5s\n' \
            "$name" "$(col 2)" "$(col 3)" "$(col 4)" "$(col 5)"
    done
done

# instructions NAME MARKER: callgrind dumps before every flush of a backing
# store; the main window's first flush ends the first dump in which MARKER,
# a function run just before the main window shows, appears. Prints the
# instructions up to that flush and those of the paint that precedes it.
instructions() {
    local name=$1 marker=$2 dir="$work/cg-$1" pid total=0 n f paint
    mkdir -p "$dir"
    (cd "$dir" && exec valgrind --tool=callgrind --compress-strings=no --compress-pos=no \
        --dump-before='QBackingStore::flush*' --callgrind-out-file="$dir/cg.out" \
        "${program[$name]}" >/dev/null 2>&1) &
    pid=$!
    for ((n = 1; n <= 1200; n++)); do
        f=$(grep -l -F "$marker" "$dir"/cg.out.* 2>/dev/null | awk -F. '{ print $NF, $0 }' | sort -n | awk 'NR == 1 { print $2 }' || true)
        [ -n "$f" ] && break
        sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    if [ -z "$f" ]; then
        echo "  $name: no flush of the main window seen"
        return
    fi
    local last=${f##*.}
    for ((n = 1; n <= last; n++)); do
        total=$((total + $(awk '/^summary:/ { print $2 }' "$dir/cg.out.$n")))
    done
    paint=$(callgrind_annotate --inclusive=yes --threshold=100 "$f" 2>/dev/null |
        awk '/QWidgetRepaintManager::paintAndFlush\(\)/ && !p { gsub(",", "", $1); p = $1 } END { print p }')
    echo "$name $total ${paint:-0}" >>"$work/instructions"
    awk -v n="$name" -v t="$total" -v p="${paint:-0}" \
        'BEGIN { printf "  %-14s %7.1f M to the first flush, first paint %5.1f M\n", n, t / 1e6, p / 1e6 }'
}

if $instructions; then
    echo
    if command -v valgrind >/dev/null && command -v callgrind_annotate >/dev/null; then
        echo "== instructions (callgrind, default environment)"
        : >"$work/instructions"
        mkdir -p "$work/cg-veltrano"
        # the settings file of a second start
        cp -r "$work/run/veltrano/." "$work/cg-veltrano/" 2>/dev/null || true
        instructions veltrano createApplicationWindows
        instructions bare 'fn=main'
        awk '{ t[$1] = $2; p[$1] = $3 } END {
            if (t["bare"] > 0 && t["veltrano"] > 0)
                printf "  ratio to bare: %.2fx to the first flush, first paint %.2fx\n",
                    t["veltrano"] / t["bare"], (p["bare"] > 0 ? p["veltrano"] / p["bare"] : 0)
        }' "$work/instructions"
    else
        echo "(valgrind not installed: no instruction counts)"
    fi
fi
