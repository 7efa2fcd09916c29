#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up a Debian or Ubuntu machine for Veltrano, builds it, then either
# starts the game or runs every test.
#
#   ./setup.sh play   install what the game needs, build the game alone, start it
#   ./setup.sh test   install everything, build everything, run the whole test suite
#   ./setup.sh build  install everything and build everything, nothing more
#   ./setup.sh game   install what the game needs and build the game alone
#   ./setup.sh bench  install everything and the benchmarks' tools, build the
#                     game and the benchmarks, time the game's start-up
#   ./setup.sh fuzz   install everything and clang's libFuzzer, build everything,
#                     fuzz each file reader for a while (tools/fuzz_long.sh)
#
# Build directory: build/ (VELTRANO_BUILD_DIR overrides it), and beside it
# build-sanitize/ for the file readers' tests under the sanitizers. Warnings
# become errors when VELTRANO_WERROR=ON or when running under CI.
# VELTRANO_CMAKE_OPTIONS adds options to both configurations, for instance
# "-DCMAKE_BUILD_TYPE=RelWithDebInfo".
set -euo pipefail

mode=${1:-play}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${VELTRANO_BUILD_DIR:-$here/build}
sanitized=$build-sanitize
read -r -a options <<<"${VELTRANO_CMAKE_OPTIONS:-}"
werror=${VELTRANO_WERROR:-$([ "${CI:-}" = true ] && echo ON || echo OFF)}

case "$mode" in
play | game) whole=false ;;
test | build | bench | fuzz) whole=true ;;
*)
    echo "usage: $0 [play|test|build|game|bench|fuzz]" >&2
    exit 2
    ;;
esac

packages=(
    # build
    cmake g++ make qt6-base-dev qt6-base-dev-tools libgl-dev libfontconfig-dev
    # running: the X platform plugin and a proportional sans-serif for
    # everything; the metric twins of the two families the labels ask for
    # are added below
    qt6-qpa-plugins fonts-dejavu-core
)
test_packages=(
    # tests and the installed files' check
    libgtest-dev libx11-dev libxfixes-dev xvfb xauth xdotool x11-utils imagemagick
    desktop-file-utils appstream
    # the help's response measurement watches the files the game opens
    strace python3
    # the game as a native Wayland client on a private compositor
    weston qt6-wayland
    # the Debian package: made, checked, installed and removed
    dpkg-dev lintian
)
bench_packages=(
    # the micro-benchmarks; the start-up benchmark's session bus and font
    # caches; its instruction counts
    libbenchmark-dev dbus-bin dbus-daemon fontconfig valgrind
)
fuzz_packages=(
    # the long fuzzing run, coverage-guided under libFuzzer
    clang libclang-rt-dev
)
benchmarks=OFF
[ "$mode" = bench ] && benchmarks=ON

missing_from() {
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            echo "$p"
        fi
    done
}

# The metric twins at version 2 are fonts-liberation from Debian 13 on, where
# fonts-liberation2 is only an empty transitional package, and
# fonts-liberation2 before. Without package lists the newer name stands.
liberation() {
    local candidate
    candidate=$(apt-cache policy fonts-liberation 2>/dev/null | sed -n 's/^ *Candidate: //p')
    if [ -n "$candidate" ] && [ "$candidate" != "(none)" ] &&
        dpkg --compare-versions "$candidate" lt 1:2; then
        echo fonts-liberation2
    else
        echo fonts-liberation
    fi
}

# What this mode needs and is not installed yet.
find_missing() {
    local wanted=("${packages[@]}" "$(liberation)")
    $whole && wanted+=("${test_packages[@]}")
    [ $benchmarks = ON ] && wanted+=("${bench_packages[@]}")
    [ "$mode" = fuzz ] && wanted+=("${fuzz_packages[@]}")
    mapfile -t missing < <(missing_from "${wanted[@]}")
}

find_missing
if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update
    # Again, now that the package lists tell which Liberation package to take.
    find_missing
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The tests stay configured whenever their packages are there, so switching
# between playing and testing never reconfigures the build.
tests=ON
if ! $whole && [ -n "$(missing_from "${test_packages[@]}")" ]; then
    tests=OFF
fi
cmake -S "$here" -B "$build" -DVELTRANO_WERROR="$werror" -DBUILD_TESTING="$tests" \
    -DVELTRANO_BENCHMARKS="$benchmarks" "${options[@]}"
if [ $benchmarks = ON ]; then
    cmake --build "$build" -j"$(nproc)" --target veltrano mapwatch bare_window first_showing \
        bench_rules bench_help bench_click
elif $whole; then
    cmake --build "$build" -j"$(nproc)"
    # The tests that feed damaged and crafted files through the real readers
    # run once more in a build made under the sanitizers, beside this one.
    cmake -S "$here" -B "$sanitized" -DVELTRANO_WERROR="$werror" -DBUILD_TESTING=ON \
        -DVELTRANO_SANITIZE=ON "${options[@]}"
    cmake --build "$sanitized" -j"$(nproc)" --target reader_tests
else
    cmake --build "$build" -j"$(nproc)" --target veltrano
fi

case "$mode" in
play)
    # The game keeps its files in the directory it starts from and looks for
    # its help there too; build/partie holds DOC.HLP for that purpose.
    cd "$build/partie"
    exec ./veltrano
    ;;
test)
    (cd "$build" && ctest --output-on-failure)
    cd "$sanitized"
    exec ctest --output-on-failure -L readers
    ;;
bench)
    exec "$here/measurements/startup/measure_startup.sh" --build "$build"
    ;;
fuzz)
    VELTRANO_FUZZ_BUILD=$sanitized exec "$here/tools/fuzz_long.sh" 300 "$build-libfuzzer"
    ;;
esac
