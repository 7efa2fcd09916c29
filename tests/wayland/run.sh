#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The game as a native Wayland client on a private, headless weston.
#
#   run.sh GAME TEST OUTDIR
#
# First the real program: its splash must reach the compositor with its
# picture before it goes, and its main window as a top-level surface named
# after the game and carrying the menu entry's app id, with a picture
# attached. Then TEST (tst_wayland) drives the game's
# windows on the same compositor.
set -euo pipefail

game=$1
test=$2
outdir=$3

# shellcheck source=weston.sh
. "$(dirname "${BASH_SOURCE[0]}")/weston.sh"

# Never the desktop's own display or compositor: only the one started here.
unset DISPLAY WAYLAND_DISPLAY WAYLAND_SOCKET
work=$(mktemp -d "${TMPDIR:-/tmp}/veltrano-wayland.XXXXXX")
game_pid=""
passed=false
cleanup() {
    if [ -n "$game_pid" ]; then
        kill "$game_pid" 2>/dev/null || true
        wait "$game_pid" 2>/dev/null || true
    fi
    weston_stop
    if ! $passed; then
        cp "$work"/*.log "$outdir/" 2>/dev/null || true
        echo "logs left in $outdir" >&2
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

weston_start "$work"
export QT_QPA_PLATFORM=wayland

mkdir "$work/game"
(cd "$work/game" && exec env WAYLAND_DEBUG=client "$game") >"$work/game.log" 2>&1 &
game_pid=$!
# The protocol log shows the main window's surface as the client asks for it.
shown() {
    grep -q 'set_title("VELTRANO V2.32")' "$work/game.log" &&
        grep -q 'set_app_id("org.veltrano.Veltrano")' "$work/game.log" &&
        grep -q 'ack_configure' "$work/game.log" &&
        grep -q 'attach(wl_buffer' "$work/game.log"
}
for _ in $(seq 300); do
    shown && break
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.05
done
if ! shown; then
    echo "FAIL: the game's main window never reached the compositor" >&2
    grep -v '^\[' "$work/game.log" >&2 || true
    exit 1
fi
# The splash (324 x 202) must have had a picture attached to its surface
# before that surface was taken down: a window shown and painted is not yet on
# a Wayland screen. Newer protocol logs write objects as wl_surface#7.
splash_seen() {
    awk '
        /get_xdg_surface\(/ { match($0, /wl_surface[@#][0-9]+/); made = substr($0, RSTART, RLENGTH) }
        /set_min_size\(324, 202\)/ && splash == "" { splash = made }
        splash != "" && index($0, splash ".attach(wl_buffer") { attached = 1 }
        splash != "" && index($0, splash ".destroy()") { gone = 1; exit }
        END { exit !(attached && gone) }
    ' "$work/game.log"
}
if ! splash_seen; then
    echo "FAIL: the splash never had a picture on the compositor" >&2
    exit 1
fi
if grep -q 'No shell integration\|Failed to load' "$work/game.log"; then
    echo "FAIL: a Wayland plug-in was not found" >&2
    exit 1
fi
kill "$game_pid"
wait "$game_pid" 2>/dev/null || true
game_pid=""

# A headless weston has no seat, and Qt's Wayland text input, asked for by
# the name entry's field, then reads a missing keyboard and crashes; a
# desktop session always has a seat. The compose input method stands in.
(cd "$work" && QT_IM_MODULE=compose "$test")
passed=true
