#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build under a scratch prefix, checks the desktop entry and the
# AppStream metainfo with the desktop's own validators, then starts the game
# through the installed launcher as the menu would and waits until it has made
# its per-user folder, holding a working help link, and runs there.
#
#   installed.sh BUILD_DIR SCRATCH_DIR          installs under SCRATCH_DIR/prefix
#   installed.sh - SCRATCH_DIR PREFIX           checks what is installed there
#                                               already (by the Debian package)
set -euo pipefail

build=$1
scratch=$2
rm -rf "$scratch"
mkdir -p "$scratch"
prefix=${3:-$scratch/prefix}
game=
stop() {
    if [ -n "$game" ]; then
        kill "$game" 2>/dev/null || true
        wait "$game" 2>/dev/null || true
    fi
}
trap stop EXIT

if [ $# -lt 3 ]; then
    cmake --install "$build" --prefix "$prefix" >"$scratch/install.log"
fi

id=org.veltrano.Veltrano
desktop=$prefix/share/applications/$id.desktop
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"

grep -qx "Exec=$prefix/bin/veltrano" "$desktop" || { echo "Exec does not name the launcher" >&2; exit 1; }
grep -qx "Categories=Game;BoardGame;" "$desktop"
for size in 16 22 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x$size/apps/$id.png
    [ "$(identify -format '%wx%h' "$icon")" = "${size}x$size" ] || { echo "bad icon $icon" >&2; exit 1; }
done

# From a folder that is not the player's: the launcher goes to its own.
data=$scratch/data
mkdir -p "$scratch/elsewhere"
cd "$scratch/elsewhere"
XDG_DATA_HOME=$data QT_QPA_PLATFORM=offscreen "$prefix/bin/veltrano" &
game=$!
# The launcher hands over to the game itself, which lives on in that folder.
for _ in $(seq 100); do
    [ "$(readlink "/proc/$game/exe")" = "$(readlink -f "$prefix/libexec/veltrano/veltrano")" ] && break
    sleep 0.05
done
sleep 1
kill -0 "$game" || { echo "the game stopped at start-up" >&2; exit 1; }
[ "$(readlink "/proc/$game/exe")" = "$(readlink -f "$prefix/libexec/veltrano/veltrano")" ] ||
    { echo "the launcher did not start the game" >&2; exit 1; }
folder=$(readlink -f "$data/veltrano")
[ "$(readlink "/proc/$game/cwd")" = "$folder" ] || { echo "the game runs outside $folder" >&2; exit 1; }
cmp -s "$data/veltrano/DOC.HLP" "$prefix/share/veltrano/DOC.HLP" || { echo "no help there" >&2; exit 1; }
[ -z "$(ls -A "$scratch/elsewhere")" ] || { echo "files left where it was started" >&2; exit 1; }
echo "installed game runs in $data/veltrano"
