#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# End-to-end tests of the real game on a private X server, driven only by
# synthesized X input and checked only from outside (screen pixels, the X
# cursor).
#
#   e2e.sh game    GAME SOLVER PROBE OUTDIR
#       starts a traditional game and plays it down to one marble with the
#       jumps the solver finds; the yellow end message must show only then
#   e2e.sh cursors GAME SOLVER PROBE OUTDIR
#       the cursor over the holes at rest, over a movable marble, a blocked
#       one, an empty hole, and while a marble is held
#
# Exit 77 means skipped: the build carries no cursor pictures yet.
# On failure a screenshot is left in OUTDIR as e2e-MODE-failure.png.
set -euo pipefail

mode=$1
game=$2
solver=$3
probe=$4
outdir=$5

command -v xdotool >/dev/null || {
    echo "e2e: xdotool is missing (package xdotool)" >&2
    exit 1
}
# shellcheck source=xvfb.sh
. "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"

# Never the desktop's display: only the one started here.
unset DISPLAY
work=$(mktemp -d "${TMPDIR:-/tmp}/veltrano-e2e.XXXXXX")
game_pid=""
passed=false

cleanup() {
    if ! $passed && [ -n "${DISPLAY:-}" ] && command -v import >/dev/null; then
        import -display "$DISPLAY" -window root "$outdir/e2e-$mode-failure.png" 2>/dev/null || true
    fi
    if [ -n "$game_pid" ]; then
        kill "$game_pid" 2>/dev/null || true
        wait "$game_pid" 2>/dev/null || true
    fi
    xvfb_stop
    if ! $passed && [ -s "$work/game.log" ]; then
        echo "--- game output" >&2
        cat "$work/game.log" >&2
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Root coordinates of a point of the main window's client area. Without a
# window manager the client area is the top-level window itself.
root_xy() {
    echo $((win_x + $1)) $((win_y + $2))
}

# Pointer onto the point first, a moment for the game to judge the hole under
# it, then the click.
click_client() {
    local x y
    read -r x y < <(root_xy "$1" "$2")
    xdotool mousemove --sync "$x" "$y" sleep 0.03 click --delay 1 1
}

hover_client() {
    local x y
    read -r x y < <(root_xy "$1" "$2")
    xdotool mousemove --sync "$x" "$y"
}

centre() {
    "$solver" --centre "$1"
}

# Pointer onto the centre of hole N.
hover_hole() {
    local x y
    read -r x y < <(centre "$1")
    hover_client "$x" "$y"
}

yellow_in_message() {
    # The end message is centred on its box at 156,130, 365 x 151.
    local x y
    read -r x y < <(root_xy 156 130)
    "$probe" yellow "$x" "$y" 365 151
}

visible_window() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true
}

# Cursor signatures are "WxH+XHOT+YHOT#CRC"; the game's own cursors are
# known by their hot spots.
hand='*+7+23#*'
holding='*+8+25#*'
refused='*+9+13#*'

await_cursor() {
    local what=$1 pattern=$2 seen
    seen=$("$probe" await-cursor "$pattern" 2000) || fail "$what: cursor $seen"
}

await_cursor_not() {
    local what=$1 pattern=$2 seen
    seen=$("$probe" await-cursor --not "$pattern" 2000) || fail "$what: cursor $seen"
}

expect_cursor_stays() {
    local what=$1 pattern=$2 seen
    sleep 0.15
    seen=$("$probe" cursor)
    # shellcheck disable=SC2254 # the cursor names are patterns
    case $seen in
    $pattern) ;;
    *) fail "$what: cursor $seen" ;;
    esac
}

# Whether the executable holds the cursor pictures among its resources. Qt
# stores resource names in UTF-16; "deplace.png" is the held-marble cursor.
has_cursor_pictures() {
    LC_ALL=C grep -q -a -P 'd\x00e\x00p\x00l\x00a\x00c\x00e\x00\.\x00p\x00n\x00g' "$game"
}

start_game() {
    mkdir -p "$work/run" "$work/xdg"
    chmod 700 "$work/xdg"
    (cd "$work/run" && exec env QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/xdg" "$game") \
        >"$work/game.log" 2>&1 &
    game_pid=$!
    local win
    win=$(timeout 20 xdotool search --sync --onlyvisible --name '^VELTRANO V2\.32$' | head -n 1) ||
        fail "the main window did not show"
    eval "$(xdotool getwindowgeometry --shell "$win")"
    if [ "$WIDTH" != 640 ] || [ "$HEIGHT" != 462 ]; then
        fail "main window is ${WIDTH}x$HEIGHT"
    fi
    win_x=$X
    win_y=$Y
}

# "Nouvelle Partie", then the traditional board in the board-choice dialog.
new_traditional_game() {
    click_client $((480 + 133 / 2)) $((336 + 43 / 2))
    local dialog
    dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Mode$' | head -n 1) ||
        fail "the board-choice dialog did not show"
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    xdotool mousemove --sync $((X + 4 + 253 / 2)) $((Y + 4 + 33 / 2)) sleep 0.03 click --delay 1 1
    for _ in $(seq 100); do
        [ -z "$(visible_window '^Mode$')" ] && return 0
        sleep 0.05
    done
    fail "the board-choice dialog stayed open"
}

# One jump with the mouse. With the cursor pictures in the build every step
# is confirmed by the cursor: the hand over the marble, the refusal over the
# marble it jumps, the held marble over the landing hole. Picks go to the
# hole's centre and landings one pixel off it, so a pick from the hole just
# landed on still moves the pointer.
play_jump() {
    local from=$1 over=$2 to=$3 fx=$4 fy=$5 ox=$6 oy=$7 tx=$8 ty=$9
    if $with_cursors; then
        hover_client "$fx" "$fy"
        await_cursor "marble $from should be movable" "$hand"
        xdotool click --delay 1 1
        await_cursor "marble $from should be held" "$holding"
        hover_client "$ox" "$oy"
        await_cursor "landing on marble $over should be refused" "$refused"
        hover_client $((tx + 1)) $((ty + 1))
        await_cursor "landing on hole $to should be allowed" "$holding"
        xdotool click --delay 1 1
        await_cursor_not "after the jump to $to" "$holding"
    else
        click_client "$fx" "$fy"
        click_client $((tx + 1)) $((ty + 1))
    fi
}

play_game() {
    local moves
    moves=$("$solver") || fail "the solver found no solution"
    [ "$(wc -l <<<"$moves")" -eq 31 ] || fail "a solution takes 31 jumps"

    # Before the end the box holds only board and marbles: no message. A few
    # stray pixels of a picture are tolerated; the message brings thousands.
    local n=0 jump before
    while read -r -a jump; do
        n=$((n + 1))
        if [ "$n" -eq 1 ] || [ "$n" -eq 31 ]; then
            before=$(yellow_in_message)
            echo "before jump $n: $before yellow pixels"
            [ "$before" -le 50 ] || fail "yellow in the message box before jump $n"
        fi
        play_jump "${jump[@]}"
    done <<<"$moves"

    # The name entry of the top ten may come up over the message; it is
    # answered, and the message must then be there.
    local count=0 entry
    for _ in $(seq 100); do
        entry=$(visible_window '^BIEN JOUER !!!$')
        if [ -n "$entry" ]; then
            eval "$(xdotool getwindowgeometry --shell "$entry")"
            xdotool mousemove --sync $((X + 149 + 44)) $((Y + 238 + 22)) sleep 0.03 click --delay 1 1
            sleep 0.1
            continue
        fi
        count=$(yellow_in_message)
        [ "$count" -ge 1500 ] && break
        sleep 0.05
    done
    [ "$count" -ge 1500 ] || fail "only $count yellow pixels in the message box at the end"
    echo "end message: $count yellow pixels"
}

check_cursors() {
    # At rest nothing on the board reacts, not even a marble that will be
    # movable once a game starts.
    local x y arrow
    hover_hole 8
    sleep 0.15
    arrow=$("$probe" cursor)
    # shellcheck disable=SC2254 # the cursor names are patterns
    case $arrow in
    $hand | $holding | $refused) fail "at rest the cursor over hole 8 is $arrow" ;;
    esac

    new_traditional_game

    hover_client 100 10 # the board picture, away from holes and tray
    hover_hole 8
    await_cursor "over a movable marble" "$hand"
    hover_hole 23
    await_cursor "over the empty centre" "$arrow"
    hover_hole 14
    expect_cursor_stays "over a marble with no jump" "$arrow"
    hover_hole 1
    expect_cursor_stays "over an arm end of the traditional board" "$arrow"

    # Holding the marble of hole 8: the hand with the ball over its own hole,
    # over the board and over the centre, the refusal elsewhere.
    read -r x y < <(centre 8)
    click_client "$x" "$y"
    await_cursor "over the marble just picked up" "$holding"
    hover_hole 14
    await_cursor "holding, over the marble it would jump" "$refused"
    hover_client 100 10
    await_cursor "holding, over the board picture" "$holding"
    hover_hole 1
    await_cursor "holding, over an arm end" "$refused"
    hover_hole 23
    await_cursor "holding, over the centre" "$holding"
    xdotool click --delay 1 1
    await_cursor "after the jump" "$arrow"
    echo "cursors: arrow $arrow"
}

xvfb_start "$work" || exit 1
start_game

with_cursors=false
if has_cursor_pictures; then
    with_cursors=true
fi

case $mode in
game)
    $with_cursors || echo "note: no cursor pictures in this build; jumps are not confirmed by the cursor"
    new_traditional_game
    play_game
    ;;
cursors)
    if ! $with_cursors; then
        echo "skipped: no cursor pictures in this build"
        passed=true
        exit 77
    fi
    check_cursors
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac
passed=true
