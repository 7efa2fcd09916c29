#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the README's test command on a machine that has nothing yet: makes a
# fresh minimal root of a Debian release with mmdebstrap, copies the committed
# project into it, builds the game there the stock way with only the game's
# packages installed, then runs `CI=true ./setup.sh test` there, as root, with
# warnings as errors. Then the Debian package built there is installed with
# apt in a second fresh root that has nothing else, started and purged. The
# roots and their mounts go on every way out.
#
#   tools/fresh-root.sh SUITE          # bookworm, trixie, forky or testing
#   tools/fresh-root.sh SUITE DEB      # only DEB's check in a bare root
#
# The Debian mirror is the one this machine's apt sources name. Needs root,
# mmdebstrap and a few gigabytes under TMPDIR (default /var/tmp).
# VELTRANO_FRESH_KEEP=DIR copies the root's build/tests/desktop/package folder (the
# Debian package and its logs) to DIR before the root goes.
set -euo pipefail

# Read whole before it runs, so that editing the script meanwhile can't
# change what a running check does.
{
suite=${1:-}
case "$suite" in
bookworm | trixie | forky | testing) ;;
*)
    echo "usage: $0 bookworm|trixie|forky|testing" >&2
    exit 2
    ;;
esac
[ "$(id -u)" -eq 0 ] || { echo "$0: must run as root (chroot and mounts)" >&2; exit 2; }
command -v mmdebstrap >/dev/null || { echo "$0: needs mmdebstrap (apt-get install mmdebstrap)" >&2; exit 2; }
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
started=$(date +%s)

# The URIs of this machine's Debian archive and security archive, from both
# forms of apt's sources; the first of each wins.
apt_uris() {
    local f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        sed -n 's/^[[:space:]]*deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]\+\)[[:space:]]\+\([^[:space:]]\+\).*/\2 \3/p' "$f"
    done
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        # One "URI suite" line per suite of every deb stanza.
        awk 'function flush() { if (deb) for (i = 1; i <= nu; i++) for (j = 1; j <= ns; j++) print u[i], s[j]; deb = 0; nu = 0; ns = 0 }
             /^[[:space:]]*$/ { flush(); next }
             /^Types:/ { deb = ($0 ~ /[[:space:]]deb([[:space:]]|$)/) }
             /^URIs:/ { nu = split(substr($0, 6), u) }
             /^Suites:/ { ns = split(substr($0, 8), s) }
             END { flush() }' "$f"
    done
}
mirror=$(apt_uris | awk '$2 !~ /-(security|updates|backports)$/ && $2 !~ /\/updates$/ { print $1; exit }')
security=$(apt_uris | awk '$2 ~ /-security$/ { print $1; exit }')
if [ -z "$mirror" ]; then
    echo "$0: no Debian archive found in this machine's apt sources" >&2
    exit 1
fi

sources=("deb $mirror $suite main")
aptopts=()
case "$suite" in
bookworm | trixie)
    sources+=("deb $mirror $suite-updates main")
    [ -z "$security" ] || sources+=("deb $security $suite-security main")
    ;;
*)
    # Testing's Release file may be past its Valid-Until on a mirror that
    # is a snapshot; a release's never is accepted so.
    aptopts+=(--aptopt='Acquire::Check-Valid-Until "false"')
    ;;
esac

scratch=$(mktemp -d "${TMPDIR:-/var/tmp}/veltrano-$suite.XXXXXX")
root=$scratch/root

# Every mount under the scratch folder, deepest first.
mounts_under() {
    awk -v r="$scratch" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/self/mounts | sort -r
}
cleanup() {
    local status=$? m
    trap - EXIT INT TERM HUP
    for m in $(mounts_under); do
        umount "$m" 2>/dev/null || umount -l "$m" || true
    done
    if [ -n "$(mounts_under)" ]; then
        echo "$0: still mounted under $scratch, left in place:" >&2
        mounts_under >&2
        exit 1
    fi
    rm -rf --one-file-system "$scratch"
    echo "fresh $suite root: $(($(date +%s) - started)) s in all, exit $status"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# make_root DIR: a fresh minimal root of the release in DIR, ready to chroot
# into.
make_root() {
    local dir=$1
    echo "== making a fresh $suite root from ${sources[*]}"
    if ! mmdebstrap --variant=minbase --mode=root "${aptopts[@]}" "$suite" "$dir" "${sources[@]}" \
        >"$scratch/mmdebstrap.log" 2>&1; then
        tail -n 30 "$scratch/mmdebstrap.log" >&2
        echo "$0: FAILED to make a $suite root: is the mirror $mirror reachable?" >&2
        exit 1
    fi
    echo "   root made in $(($(date +%s) - started)) s"

    # What a booted machine has and a bare root lacks: kernel file systems,
    # terminals, shared memory, a runtime folder, name resolution, and no
    # services started by packages.
    mount -t proc proc "$dir/proc"
    mount -t sysfs sysfs "$dir/sys"
    mount --bind /dev "$dir/dev"
    mount --bind /dev/pts "$dir/dev/pts"
    mount -t tmpfs -o mode=1777 tmpfs "$dir/dev/shm"
    mount -t tmpfs -o mode=0755 tmpfs "$dir/run"
    mkdir -p "$dir/run/lock"
    cp -L /etc/resolv.conf "$dir/etc/resolv.conf"
    # dpkg's syncing and the manual pages' index cost minutes in a root that
    # lives for one run and that no one reads manual pages in.
    echo force-unsafe-io >"$dir/etc/dpkg/dpkg.cfg.d/veltrano-unsafe-io"
    echo "man-db man-db/auto-update boolean false" | chroot "$dir" debconf-set-selections
    printf '#!/bin/sh\nexit 101\n' >"$dir/usr/sbin/policy-rc.d"
    chmod 755 "$dir/usr/sbin/policy-rc.d"
}

env_keep=()
for v in http_proxy https_proxy no_proxy HTTP_PROXY HTTPS_PROXY NO_PROXY; do
    [ -z "${!v:-}" ] || env_keep+=("$v=${!v}")
done
# in_root DIR COMMAND: runs a shell command in the root, in a clean
# environment.
in_root() {
    chroot "$1" /usr/bin/env -i "${env_keep[@]}" HOME=/root LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin /bin/bash -c "$2" </dev/null
}

deb=
if [ -n "${2:-}" ]; then
    deb=$(readlink -f "$2")
    [ -f "$deb" ] || { echo "$0: no package $2" >&2; exit 2; }
else
    make_root "$root"

    # The committed project, as a clone would have it.
    mkdir -p "$root/src/veltrano"
    git -C "$here" archive --format=tar HEAD | tar -x -C "$root/src/veltrano"

    # The installation and the builds go to a log beside the root, kept; CTest's
    # report is shown as it comes, and the log's end if the run fails before it.
    log=${TMPDIR:-/var/tmp}/veltrano-$suite.log
    echo "   log: $log"
    # First with only the game's own packages: CMake's usual two commands
    # must build the game.
    echo "== the game's packages alone, then cmake -B build-stock && cmake --build build-stock"
    in_root "$root" 'cd /src/veltrano && CI=true ./setup.sh game >/dev/null &&
        cmake -B build-stock >/dev/null && cmake --build build-stock -j"$(nproc)" >/dev/null &&
        test -x build-stock/partie/veltrano' >"$log" 2>&1 ||
        { tail -n 60 "$log"; echo "$0: FAILED: the stock build in the fresh $suite root" >&2; exit 1; }
    echo "== CI=true ./setup.sh test in the $suite root"
    set +e
    in_root "$root" 'cd /src/veltrano && CI=true ./setup.sh test' 2>&1 |
        tee -a "$log" | sed -n '/^Test project /,$p'
    status=${PIPESTATUS[0]}
    set -e
    if [ "$status" -ne 0 ] && ! grep -q '^Test project ' "$log"; then
        tail -n 60 "$log"
    fi

    deb=$(ls "$root"/src/veltrano/build/tests/desktop/package/veltrano_*.deb 2>/dev/null | head -n 1 || true)
    if [ -n "$deb" ]; then
        echo "== lintian ${deb#"$root"}"
        in_root "$root" "lintian ${deb#"$root"}" || true
        echo "== end of lintian"
    fi
    if [ -n "${VELTRANO_FRESH_KEEP:-}" ] && [ -d "$root/src/veltrano/build/tests/desktop/package" ]; then
        mkdir -p "$VELTRANO_FRESH_KEEP"
        cp -a "$root/src/veltrano/build/tests/desktop/package/." "$VELTRANO_FRESH_KEEP/"
    fi
    if [ "$status" -ne 0 ]; then
        echo "$0: FAILED in the fresh $suite root (exit $status)" >&2
        exit "$status"
    fi
    echo "== the fresh $suite root passed"
fi

# The package built there, in a second fresh root that has nothing else: apt
# brings what it depends on, the launcher starts the game, which makes the
# player's folder, and the purge leaves nothing of the game under /usr.
[ -n "$deb" ] || { echo "$0: FAILED: the tests made no Debian package" >&2; exit 1; }
bare=$scratch/bare
make_root "$bare"
cp "$deb" "$bare/root/"
in_root "$bare" 'find /usr -xdev | sort >/root/usr-before
    cd /root && DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ./*.deb >/root/install.log 2>&1 ||
        { cat /root/install.log; echo "FAIL: apt-get install ./*.deb"; exit 1; }
    for f in /usr/bin/veltrano /usr/share/applications/org.veltrano.Veltrano.desktop \
        /usr/share/icons/hicolor/48x48/apps/org.veltrano.Veltrano.png /usr/share/man/man6/veltrano.6.gz; do
        [ -e "$f" ] || { echo "FAIL: no $f"; exit 1; }
    done
    grep -qx "Exec=/usr/bin/veltrano" /usr/share/applications/org.veltrano.Veltrano.desktop ||
        { echo "FAIL: the menu entry does not run the launcher"; exit 1; }
    mkdir -p -m 0700 /run/user/0
    QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/run/user/0 veltrano & game=$!
    for i in $(seq 50); do [ -e ~/.local/share/veltrano/DOC.HLP ] && break; sleep 0.2; done
    sleep 1
    kill -0 $game 2>/dev/null || { echo "FAIL: the game did not keep running"; exit 1; }
    kill $game; wait $game 2>/dev/null
    [ -f ~/.local/share/veltrano/DOC.HLP ] || { echo "FAIL: no help in the player folder"; exit 1; }
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq veltrano >/root/purge.log 2>&1 ||
        { cat /root/purge.log; echo "FAIL: apt-get purge"; exit 1; }
    # The dependencies apt brought stay, with the caches their triggers made.
    left=$(find /usr -xdev | sort | comm -13 /root/usr-before - | grep -i veltrano)
    [ -z "$left" ] || { echo "$left"; echo "FAIL: the purge left these under /usr"; exit 1; }
    echo "   installed with apt-get, started from the launcher, purged: nothing left under /usr"' ||
    { echo "$0: FAILED: the package in a bare $suite root" >&2; exit 1; }
echo "== the package passed in a bare $suite root"
exit 0
}
