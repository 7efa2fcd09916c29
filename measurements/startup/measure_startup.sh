#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times the game's start-up as a player's desktop starts it, against a bare
# Qt window of the same size and the other peg-solitaire programs installed
# on this machine: from exec to the first window mapped (the game's splash)
# and to the main window mapped, and the peak resident memory (VmHWM) two
# seconds after the main window came up. Everything runs inside a session
# bus of its own, as on every desktop, with the font caches up to date, on a
# private Xvfb with no window manager.
#
#   measure_startup.sh [--rounds N] [--build DIR] [--game PATH]
#                      [--also NAME=PATH]... [--no-peers]
#                      [--instructions] [--no-gl-only | --gl-only]
#
#   --rounds N          measured rounds per series (default 15)
#   --build DIR         the build directory (default $VELTRANO_BUILD_DIR,
#                       else build/); configure it with
#                       -DVELTRANO_BENCHMARKS=ON
#   --game PATH         the game to time (default DIR/partie/veltrano)
#   --also NAME=PATH    another build of the game, timed in the same rounds
#                       under NAME: an A/B comparison of a change
#   --no-peers          leave the other installed programs out
#   --instructions      also count instructions under callgrind
#   --gl-only           only the series with the default environment
#   --no-gl-only        only the series without GL
#
# Two series, one with the default environment and one without GL
# (QT_XCB_GL_INTEGRATION=none). Each starts with one warm-up start of every
# program; then every round starts each program once, in a shuffled order,
# so that a change of load on the machine falls on all of them alike. Each
# program has its own fresh directory: the warm-up creates the game's
# settings file, which the measured starts find, as a player's second start
# does. Prints every round with its ratios to the bare window, then for each
# program the medians of times, memories and per-round ratios, with the
# quartiles of the times to show how noisy the machine was.
#
# With --instructions, where valgrind is installed, the instructions of each
# build of the game and of the bare window from exec to the first flush of
# their main window, and of that first paint alone (callgrind, every thread
# together): a figure that the machine's load does not change.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(cd "$here/../.." && pwd)
build=${VELTRANO_BUILD_DIR:-$top/build}
rounds=15
peers=true
instructions=false
series=(gl nogl)
game=""
also=()
arguments=("$@")

usage() {
    sed -n '10,25p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

while [ $# -gt 0 ]; do
    case $1 in
    --rounds)
        rounds=$2
        shift
        ;;
    --build)
        build=$2
        shift
        ;;
    --game)
        game=$2
        shift
        ;;
    --also)
        [[ $2 == ?*=?* ]] || usage
        also+=("$2")
        shift
        ;;
    --no-peers) peers=false ;;
    --instructions) instructions=true ;;
    --gl-only) series=(gl) ;;
    --no-gl-only) series=(nogl) ;;
    *) usage ;;
    esac
    shift
done

# A desktop session always has its message bus, which the toolkit's
# accessibility bridge asks for as the first window shows: without one, every
# program would time the bus library's search for it instead.
if [ -z "${VELTRANO_STARTUP_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null || {
        echo "dbus-run-session is missing (packages dbus-bin and dbus-daemon)" >&2
        exit 1
    }
    # the bus's own notices about the services it starts are left out
    VELTRANO_STARTUP_BUS=1 exec dbus-run-session -- "$0" "${arguments[@]}" \
        2> >(grep -v -e '^dbus-daemon\[' -e '^SpiRegistry' >&2)
fi

build=$(cd "$build" && pwd)
mapwatch=$build/measurements/startup/mapwatch
bare=$build/measurements/startup/bare_window
game=${game:-$build/partie/veltrano}
for f in "$mapwatch" "$game" "$bare"; do
    [ -x "$f" ] || {
        echo "missing $f: configure with -DVELTRANO_BENCHMARKS=ON and build" >&2
        exit 1
    }
done

names=(veltrano)
declare -A program
program[veltrano]=$(cd "$(dirname "$game")" && pwd)/$(basename "$game")
for a in "${also[@]}"; do
    name=${a%%=*}
    names+=("$name")
    program[$name]=$(cd "$(dirname "${a#*=}")" && pwd)/$(basename "${a#*=}")
done
names+=(bare)
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
# builds of the game show a splash first; the others open their main window
isGame() {
    [ "$1" = veltrano ] || printf '%s\n' "${also[@]}" | grep -q "^$1="
}

# The font caches are built when fonts are installed; a stale cache would
# make every program scan the font folders at each start, which no player's
# desktop does. fc-cache only rebuilds what is out of date.
if command -v fc-cache >/dev/null; then
    fc-cache
    fc-list >/dev/null
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

echo "load: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores; session bus ${DBUS_SESSION_BUS_ADDRESS%%,*}"
echo "programs: ${names[*]}"

# start NAME SERIES: one start; prints "FIRST_MS MAIN_MS RSS_KIB"
start() {
    local name=$1 kind=$2 line
    # how mapwatch recognises the main window
    local -a opts=(--first) env=()
    isGame "$name" && opts=()
    [ "$name" = bare ] && opts=(--main-name "bare Qt window")
    [ "$kind" = nogl ] && env=(QT_XCB_GL_INTEGRATION=none)
    mkdir -p "$work/run/$name"
    line=$(env "${env[@]}" "$mapwatch" --dir "$work/run/$name" "${opts[@]}" \
        -- "${program[$name]}" 2>"$work/stderr")
    # the programs' own chatter is left out, not the measurement's complaints
    grep '^mapwatch:' "$work/stderr" >&2 || true
    # a program without a splash shows its main window first
    sed -E 's/.*splash_mapped_ms=([-0-9.]+) main_mapped_ms=([0-9.]+) peak_rss_kib=([0-9]+).*/\1 \2 \3/' <<<"$line" |
        awk '{ if ($1 == "-") $1 = $2; print }'
}

# statistics of a column of numbers: "median q1 q3"
stats() {
    sort -g | awk '
        function at(p,   i, f) { i = 1 + (NR - 1) * p; f = int(i); return v[f] + (i - f) * (v[f + 1] - v[f]) }
        { v[NR] = $1 }
        END { if (NR == 0) { print "- - -"; exit } v[NR + 1] = v[NR]; printf "%.2f %.2f %.2f\n", at(0.5), at(0.25), at(0.75) }'
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}

for kind in "${series[@]}"; do
    label="default environment (GL)"
    [ "$kind" = nogl ] && label="without GL (QT_XCB_GL_INTEGRATION=none)"
    echo
    echo "== $label"
    rm -rf "$work/run"
    for name in "${names[@]}"; do
        start "$name" "$kind" >/dev/null
    done
    : >"$work/$kind"
    for ((r = 1; r <= rounds; r++)); do
        declare -A first=() main=() rss=()
        for name in $(printf '%s\n' "${names[@]}" | shuf); do
            read -r "first[$name]" "main[$name]" "rss[$name]" < <(start "$name" "$kind")
        done
        out="round $r:"
        for name in "${names[@]}"; do
            fr=$(ratio "${first[$name]}" "${first[bare]}")
            mr=$(ratio "${main[$name]}" "${main[bare]}")
            hr=$(ratio "${rss[$name]}" "${rss[bare]}")
            mib=$(awk -v k="${rss[$name]}" 'BEGIN { printf "%.1f", k / 1024 }')
            echo "$name ${first[$name]} ${main[$name]} $mib $fr $mr $hr" >>"$work/$kind"
            if [ "$name" = bare ]; then
                out+=" bare ${main[$name]} ms $mib MiB;"
            else
                out+=" $name ${first[$name]}/${main[$name]} ms (${fr}x/${mr}x) $mib MiB;"
            fi
        done
        echo "${out%;}"
    done
    echo "medians over $rounds rounds [quartiles]; ratios are per round, to bare:"
    printf '  %-14s %-22s %-22s %-9s %-7s %-7s %s\n' program "first map ms" "main map ms" "VmHWM MiB" first main VmHWM
    for name in "${names[@]}"; do
        col() { awk -v n="$name" -v c="$1" '$1 == n { print $c }' "$work/$kind" | stats; }
        read -r f fq1 fq3 < <(col 2)
        read -r m mq1 mq3 < <(col 3)
        printf '  %-14s %-22s %-22s %-9s %-7s %-7s %s\n' "$name" "$f [$fq1-$fq3]" "$m [$mq1-$mq3]" \
            "$(col 4 | cut -d' ' -f1)" "$(col 5 | cut -d' ' -f1)x" "$(col 6 | cut -d' ' -f1)x" \
            "$(col 7 | cut -d' ' -f1)x"
    done
    # The game's first pixels against each other program's first window, and
    # each other build of the game against the first, round by round.
    for name in "${names[@]}"; do
        [ "$name" = veltrano ] && continue
        awk -v n="$name" '$1 == "veltrano" { g[++i] = $2; gm[i] = $3 } $1 == n { o[++j] = $2; om[j] = $3 }
            END { for (k = 1; k <= j; k++) print g[k] / o[k], gm[k] - om[k], g[k] - o[k] }' "$work/$kind" >"$work/pair"
        if isGame "$name"; then
            printf '  veltrano against %s: first map %+.2f ms, main map %+.2f ms (medians of per-round differences)\n' \
                "$name" "$(cut -d' ' -f3 "$work/pair" | stats | cut -d' ' -f1)" \
                "$(cut -d' ' -f2 "$work/pair" | stats | cut -d' ' -f1)"
        elif [ "$name" != bare ]; then
            printf '  veltrano first pixels against %s first window: %sx\n' "$name" \
                "$(cut -d' ' -f1 "$work/pair" | stats | cut -d' ' -f1)"
        fi
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
        for name in "${names[@]}"; do
            if isGame "$name"; then
                # the settings file of a second start
                mkdir -p "$work/cg-$name"
                cp -r "$work/run/$name/." "$work/cg-$name/" 2>/dev/null || true
                instructions "$name" createApplicationWindows
            fi
        done
        instructions bare 'fn=main'
        awk '{ t[$1] = $2; p[$1] = $3; n[NR] = $1 } END {
            for (i = 1; i <= NR; i++)
                if (n[i] != "bare" && t["bare"] > 0)
                    printf "  %-14s ratio to bare: %.2fx to the first flush, first paint %.2fx\n", n[i],
                        t[n[i]] / t["bare"], (p["bare"] > 0 ? p[n[i]] / p["bare"] : 0)
        }' "$work/instructions"
    else
        echo "(valgrind not installed: no instruction counts)"
    fi
fi
