# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# A private Wayland compositor (weston) for scripts that run the game as a
# native Wayland client, sourced, not run.
#
#   weston_start DIR [BACKEND]   starts weston on its own socket in DIR (the
#                                runtime folder it makes there, mode 0700),
#                                exports XDG_RUNTIME_DIR and WAYLAND_DISPLAY,
#                                sets weston_pid; DIR receives weston's log.
#                                BACKEND is headless-backend.so unless given
#                                (x11-backend.so shows it inside an X server)
#   weston_stop                  stops it again; safe to call when none was
#
# Nothing of the desktop's own session is used: no X display, no other
# compositor's socket.

weston_pid=""

weston_start() {
    local dir=$1 backend=${2:-headless-backend.so}
    command -v weston >/dev/null || {
        echo "weston is missing (package weston)" >&2
        return 1
    }
    export XDG_RUNTIME_DIR=$dir/runtime
    mkdir -p "$XDG_RUNTIME_DIR"
    chmod 0700 "$XDG_RUNTIME_DIR"
    export WAYLAND_DISPLAY=wayland-veltrano
    weston --backend="$backend" --socket="$WAYLAND_DISPLAY" --idle-time=0 \
        --width=1024 --height=768 --no-config >"$dir/weston.log" 2>&1 &
    weston_pid=$!
    # The socket appears once weston accepts clients.
    for _ in $(seq 200); do
        [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && return 0
        kill -0 "$weston_pid" 2>/dev/null || break
        sleep 0.05
    done
    echo "weston did not start:" >&2
    cat "$dir/weston.log" >&2
    weston_stop
    return 1
}

weston_stop() {
    if [ -n "$weston_pid" ]; then
        kill "$weston_pid" 2>/dev/null || true
        wait "$weston_pid" 2>/dev/null || true
        weston_pid=""
    fi
}
