#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Each reader of the game's files fuzzed for a while under the address and
# undefined-behaviour sanitizers:
#   tools/fuzz_long.sh [seconds per reader] [work folder]
# Where clang and its libFuzzer runtime are installed (the packages clang and
# libclang-rt-dev: clang 14 on Debian 12, 19 on Debian 13; ./setup.sh fuzz
# installs them and runs this), the fuzz targets are built with libFuzzer in
# a build of their own in the work folder and run coverage-guided from the
# seed corpus, each for the given time; the coverage each reached is
# printed (libFuzzer's cov: edges and ft: features). Elsewhere the suite's
# driver, from the sanitized build in ./build-sanitize (or
# VELTRANO_FUZZ_BUILD), feeds each reader VELTRANO_FUZZ_INPUTS mutations, a
# million unless told. Either stops at the first report.
set -eu
seconds=${1:-300}
work=${2:-build-libfuzzer}
source=$(cd "$(dirname "$0")/.." && pwd)
readers="settings saved_game help"
export QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=print_stacktrace=1 ASAN_OPTIONS=detect_leaks=0

mkdir -p "$work"
work=$(cd "$work" && pwd)
probe="$work/probe.cpp"
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char *, unsigned long) { return 0; }\n' >"$probe"
if command -v clang++ >/dev/null && clang++ -fsanitize=fuzzer "$probe" -o "$work/probe" 2>/dev/null; then
    cmake -S "$source" -B "$work" -DCMAKE_CXX_COMPILER=clang++ \
        -DBUILD_TESTING=ON -DVELTRANO_LIBFUZZER=ON >/dev/null
    for reader in $readers; do
        cmake --build "$work" --target "fuzz_$reader" -j2 >/dev/null
    done
    for reader in $readers; do
        program=$(find "$work" -type f -name "fuzz_$reader" -perm -u+x | head -n 1)
        # New inputs go to a corpus of this run's own; the seeds stay as they are.
        mkdir -p "$work/corpus/$reader" "$work/crashes/$reader"
        echo "== $reader: $seconds s under libFuzzer"
        "$program" -max_total_time="$seconds" -timeout=10 -max_len=65536 -detect_leaks=0 \
            -print_final_stats=1 -artifact_prefix="$work/crashes/$reader/" \
            "$work/corpus/$reader" "$source/tests/fuzz/corpus/$reader" >"$work/$reader.log" 2>&1 ||
            { tail -n 40 "$work/$reader.log"; exit 1; }
        grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)' "$work/$reader.log" | sed 's/^/   /'
        grep -E '^stat::number_of_executed_units' "$work/$reader.log" | sed 's/^/   /'
    done
else
    echo "no clang with libFuzzer here: the suite's driver instead"
    build=${VELTRANO_FUZZ_BUILD:-$source/build-sanitize}
    export VELTRANO_FUZZ_INPUTS=${VELTRANO_FUZZ_INPUTS:-1000000}
    for reader in $readers; do
        cmake --build "$build" --target "fuzz_$reader" -j2 >/dev/null
        program=$(find "$build" -type f -name "fuzz_$reader" -perm -u+x | head -n 1)
        start=$(date +%s)
        echo "== $reader: $VELTRANO_FUZZ_INPUTS mutations"
        "$program" >"$work/$reader.log" 2>&1 || { tail -n 40 "$work/$reader.log"; exit 1; }
        echo "   $(tail -n 1 "$work/$reader.log"), $(($(date +%s) - start)) s"
    done
fi
