#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures, on the real game under a private Xvfb, how long the help takes to
# appear after F1 for each crafted DOC.HLP, and lists what the game opened in
# its directory, under /dev or /proc meanwhile (it should open DOC.HLP only).
# A measurement, not a test: run it by hand.
#
#   help_response.sh GAME [DISPLAY_NUMBER [WIDTHxHEIGHT [SHOTS_DIR]]]
#
# GAME is build/partie/veltrano (its DOC.HLP is the real help). Without a
# display number, the first free one is taken. SHOTS_DIR receives a
# screenshot of the real help.
set -euo pipefail

game=$(realpath "$1")
display=${2:-}
screen=${3:-1024x768}
shots=${4:-}
for tool in xdotool strace python3 xdpyinfo; do
    command -v "$tool" >/dev/null || {
        echo "help_response: $tool is missing" >&2
        exit 1
    }
done
# shellcheck source=../tests/x11/xvfb.sh
. "$(dirname "${BASH_SOURCE[0]}")/../tests/x11/xvfb.sh"

unset DISPLAY
work=$(mktemp -d "${TMPDIR:-/tmp}/veltrano-help.XXXXXX")
game_pid=""
cleanup() {
    if [ -n "$game_pid" ]; then
        kill "$game_pid" 2>/dev/null || true
        wait "$game_pid" 2>/dev/null || true
    fi
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

if [ -n "$display" ]; then
    Xvfb ":$display" -nolisten tcp -screen 0 "${screen}x24" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$display"
    for _ in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.05
    done
else
    xvfb_start "$work"
fi

mkdir "$work/partie"
cd "$work/partie"
real_help=$(dirname "$game")/DOC.HLP
strace -f -qq --seccomp-bpf -e trace=open,openat -o "$work/opens.log" "$game" >"$work/game.log" 2>&1 &
game_pid=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --name '^VELTRANO V2.32$' | head -1)
[ -n "$win" ] || {
    echo "the game did not show its window" >&2
    exit 1
}
sleep 1

now_ms() { date +%s%3N; }

# Polls without pause: xdotool's own --sync waits in steps far coarser than
# what is measured here.
help_window() { xdotool search --onlyvisible --name '^Aide de Veltrano$' 2>/dev/null | head -1; }
wait_shown() {
    local w=""
    for _ in $(seq 2000); do
        w=$(help_window)
        [ -n "$w" ] && break
    done
    echo "$w"
}

# Writes DOC.HLP for a case; the page text comes from python for the big ones.
prepare() {
    rm -f DOC.HLP tube image.png
    local topic='<a name="sujet-1"></a>'
    case $1 in
    real) cp "$real_help" DOC.HLP ;;
    title-link) mkfifo tube && printf '%s<h1>Titre <link type="text/css" href=%s/tube' "$topic" "$PWD" >DOC.HLP ;;
    title-table) mkfifo tube && printf '%s<h1>Titre <table background=%s/tube' "$topic" "$PWD" >DOC.HLP ;;
    title-style) mkfifo tube && printf '%s<h1>Titre <p style="background-image:url(%s/tube)"' "$topic" "$PWD" >DOC.HLP ;;
    title-zero) printf '%s<h1>Titre <link type="text/css" href=/dev/zero' "$topic" >DOC.HLP ;;
    picture-pipe) mkfifo tube && printf '%s<h1>Titre</h1><img src="%s/tube">' "$topic" "$PWD" >DOC.HLP ;;
    picture-file) cp "$real_help" image.png && printf '%s<h1>Titre</h1><img src="image">' "$topic" >DOC.HLP ;;
    link-zero) ln -s /dev/zero DOC.HLP ;;
    link-pipe) mkfifo tube && ln -s "$PWD/tube" DOC.HLP ;;
    link-kmsg) ln -s /proc/kmsg DOC.HLP ;;
    headings) python3 -c "print('$topic' + '<h1>' * 10000, end='')" >DOC.HLP ;;
    long-word) python3 -c "print('$topic<p>' + 'x' * 500000, end='')" >DOC.HLP ;;
    huge-word) python3 -c "print('$topic<p>' + 'x' * 1000000, end='')" >DOC.HLP ;;
    quotes) python3 -c "print('$topic' + '<blockquote>' * 20000 + 'Texte', end='')" >DOC.HLP ;;
    tables) python3 -c "print('$topic' + '<table><tr><td>' * 2000 + 'Texte', end='')" >DOC.HLP ;;
    looks) python3 -c "print('$topic<p>' + '<b>x</b><i>y</i>' * 30000, end='')" >DOC.HLP ;;
    esac
}

printf '%-14s %10s %10s  %s\n' case "F1→shown" "Échap→gone" "opened besides DOC.HLP"
for c in real title-link title-table title-style title-zero picture-pipe picture-file link-zero \
    link-pipe link-kmsg headings long-word huge-word quotes tables looks; do
    prepare "$c"
    lines_before=$(wc -l <"$work/opens.log")
    xdotool windowfocus --sync "$win"
    t0=$(now_ms)
    xdotool key F1
    help=$(wait_shown)
    t1=$(now_ms)
    if [ "$c" = real ] && [ -n "$shots" ]; then
        sleep 0.3
        import -window root "$shots/help-real-${screen}.png"
    fi
    t2=$(now_ms)
    [ -n "$help" ] && xdotool windowfocus --sync "$help" key Escape
    while [ -n "$(help_window)" ]; do :; done
    t3=$(now_ms)
    opened=$(tail -n +"$((lines_before + 1))" "$work/opens.log" | grep -oE '"[^"]*"' | tr -d '"' |
        grep -E "^($PWD/|/dev/|/proc/|[^/])" | grep -v "^$PWD/DOC.HLP$" | sort -u | tr '\n' ' ' || true)
    printf '%-14s %8.1f ms %8.1f ms  %s\n' "$c" "$(awk "BEGIN{print $t1 - $t0}")" "$(awk "BEGIN{print $t3 - $t2}")" "${opened:-none}"
done
