# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# A private Xvfb for scripts that drive or time the game, sourced, not run.
#
#   xvfb_start DIR   starts a server on the first free display of :90..:199
#                    (from a random start), exports DISPLAY, sets xvfb_pid;
#                    DIR receives the server's log
#   xvfb_stop        stops it again; safe to call when none was started
#
# The server has no window manager and listens on its local socket only.

xvfb_pid=""

xvfb_start() {
    local dir=$1 first=$((90 + RANDOM % 110)) i n
    command -v Xvfb >/dev/null || {
        echo "Xvfb is missing (package xvfb)" >&2
        return 1
    }
    for ((i = 0; i < 110; i++)); do
        n=$((90 + (first - 90 + i) % 110))
        if [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; then
            continue
        fi
        # Another server may take the same number at the same moment; this
        # one then exits and the next number is tried.
        : >"$dir/displayfd"
        Xvfb ":$n" -nolisten tcp -screen 0 1024x768x24 -displayfd 3 \
            3>"$dir/displayfd" >"$dir/xvfb.log" 2>&1 &
        xvfb_pid=$!
        # Xvfb writes its number once it accepts connections.
        for _ in $(seq 100); do
            if [ -s "$dir/displayfd" ]; then
                export DISPLAY=":$n"
                return 0
            fi
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.05
        done
        xvfb_stop
    done
    echo "no free X display in :90..:199" >&2
    return 1
}

xvfb_stop() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
    fi
}
