#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: made from the build, free of lintian errors and
# warnings, depending on runtime packages only; installed with apt-get as a
# player would, it puts the menu entry, the icons and the launcher in place
# and the game starts in the player's own folder (installed.sh); removed, it
# leaves nothing behind.
#
#   deb.sh BUILD_DIR SCRATCH_DIR
#
# Exit 77 means skipped: installing needs root and apt-get, and a machine
# where the game is installed already is left alone.
set -euo pipefail

build=$1
scratch=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null; then
    echo "skipped: installing the package needs root and apt-get" >&2
    exit 77
fi
if dpkg-query -W -f='${Status}' veltrano 2>/dev/null | grep -q installed; then
    echo "skipped: veltrano is installed on this machine already" >&2
    exit 77
fi

rm -rf "$scratch"
mkdir -p "$scratch"
installed=false
remove() {
    if $installed; then
        DEBIAN_FRONTEND=noninteractive apt-get purge -y veltrano >"$scratch/purge.log" 2>&1 || true
    fi
}
trap remove EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

(cd "$build" && cpack -G DEB -B "$scratch") >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; fail "no package made"; }
debs=("$scratch"/veltrano_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one veltrano_*.deb in $scratch"
deb=${debs[0]}

lintian --fail-on error,warning "$deb" || fail "lintian reports errors or warnings"

# What a machine without the build tools must have: libraries and fonts, no
# development package, every one known to apt.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for wanted in libqt6widgets6 qt6-qpa-plugins fonts-liberation fonts-dejavu-core; do
    grep -q "\b$wanted\b" <<<"$depends" || fail "$wanted is not among the dependencies"
done
! grep -q -- '-dev\b' <<<"$depends" || fail "a development package among the dependencies"
apt-get install -s "$deb" >"$scratch/simulate.log" 2>&1 || { cat "$scratch/simulate.log" >&2; fail "apt can't install it"; }

# What /usr holds before: after the purge, nothing more may be there
# (the package's files, its folders, or what running the game made).
find /usr -xdev | sort >"$scratch/usr-before"

# From the folder the package lies in, as the README says.
installed=true
(cd "$scratch" && DEBIAN_FRONTEND=noninteractive apt-get install -y "./$(basename "$deb")") \
    >"$scratch/install.log" 2>&1 || { cat "$scratch/install.log" >&2; fail "apt-get install failed"; }
dpkg-query -L veltrano | grep -qx /usr/bin/veltrano || fail "no launcher in /usr/bin"
files=$(dpkg-query -L veltrano)

"$here/installed.sh" - "$scratch/installed" /usr

DEBIAN_FRONTEND=noninteractive apt-get purge -y veltrano >"$scratch/purge.log" 2>&1 ||
    { cat "$scratch/purge.log" >&2; fail "apt-get purge failed"; }
installed=false
! dpkg-query -W -f='${Status}' veltrano 2>/dev/null | grep -q installed || fail "still installed"
while read -r f; do
    [ -d "$f" ] || [ ! -e "$f" ] || fail "$f left behind"
done <<<"$files"
# Only what a package that was already there owns may be new, such as a
# dependency apt brought, besides what Python compiles for itself as it runs.
find /usr -xdev | sort | comm -13 "$scratch/usr-before" - | { grep -v /__pycache__ || true; } |
    while read -r f; do
        dpkg-query -S "$f" >/dev/null 2>&1 || echo "$f"
    done >"$scratch/usr-left"
[ ! -s "$scratch/usr-left" ] || { cat "$scratch/usr-left" >&2; fail "the purge left these under /usr"; }
echo "package $(basename "$deb") installed, ran and was removed"
