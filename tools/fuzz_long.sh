#!/bin/sh
# Each reader of the game's files fed a million inputs under the sanitizers:
#   tools/fuzz_long.sh [build directory] [inputs] [seed]
# Prints, for each, what it said and how long it took; stops at a report.
set -eu
build=${1:-build}
export VELTRANO_FUZZ_INPUTS=${2:-1000000}
export VELTRANO_FUZZ_SEED=${3:-20261207}
export QT_QPA_PLATFORM=offscreen UBSAN_OPTIONS=print_stacktrace=1 ASAN_OPTIONS=detect_leaks=0
cmake --build "$build" --target fuzz_settings tst_saved_game_fuzz test_help_fuzz -j2 >/dev/null
for reader in fuzz_settings tst_saved_game_fuzz test_help_fuzz; do
    program=$(find "$build" -type f -name "$reader" -perm -u+x | head -n 1)
    start=$(date +%s)
    echo "== $reader: $VELTRANO_FUZZ_INPUTS inputs, seed $VELTRANO_FUZZ_SEED"
    (cd "$(dirname "$program")" && "./$reader") 2>&1 | grep -E "records|inputs|PASS|FAIL|ERROR|Sanitizer|runtime error" || true
    echo "   $(($(date +%s) - start)) s"
done
