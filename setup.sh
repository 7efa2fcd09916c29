#!/usr/bin/env bash
# Sets up a Debian or Ubuntu machine for Veltrano, builds it, then either
# starts the game or runs every test.
#
#   ./setup.sh play   install what is missing, build, start the game
#   ./setup.sh test   install what is missing, build, run the whole test suite
#   ./setup.sh build  install what is missing and build only
#
# Build directory: build/ (VELTRANO_BUILD_DIR overrides it). Warnings become
# errors when VELTRANO_WERROR=ON or when running under CI.
set -euo pipefail

mode=${1:-play}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${VELTRANO_BUILD_DIR:-$here/build}
werror=${VELTRANO_WERROR:-$([ "${CI:-}" = true ] && echo ON || echo OFF)}

packages=(
    # build
    cmake g++ make qt6-base-dev qt6-base-dev-tools libgl-dev libfontconfig-dev
    # running: the X platform plugin and the two font families the windows ask for
    qt6-qpa-plugins fonts-liberation2
    # tests and benchmarks
    libgtest-dev libbenchmark-dev libx11-dev libxfixes-dev xvfb xauth xdotool x11-utils imagemagick
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build" -DVELTRANO_WERROR="$werror"
cmake --build "$build" -j"$(nproc)"

case "$mode" in
play)
    # The game keeps its files in the directory it starts from and looks for
    # its help there too; build/partie holds DOC.HLP for that purpose.
    cd "$build/partie"
    exec ./veltrano
    ;;
test)
    cd "$build"
    exec ctest --output-on-failure
    ;;
build) ;;
*)
    echo "usage: $0 [play|test|build]" >&2
    exit 2
    ;;
esac
