#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds (default 600), two at a time,
# growing a working corpus in build/fuzz-corpus/ from the committed seeds. Crashes are kept
# in build/fuzz-crashes/; copy each into tests/fuzz/corpus/<target>/ once it is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
jobs=${JOBS:-2}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz-corpus build/fuzz-crashes build/fuzz-logs
targets=$(ls tests/fuzz/corpus)
run() {
    local t=$1
    mkdir -p "build/fuzz-corpus/$t"
    cp -n tests/fuzz/corpus/"$t"/* "build/fuzz-corpus/$t/" 2>/dev/null || true
    ./build/fuzz/tests/fuzz/fuzz_"$t" -max_total_time="$seconds" -artifact_prefix="build/fuzz-crashes/$t-" \
        -print_final_stats=1 "build/fuzz-corpus/$t" >"build/fuzz-logs/$t.log" 2>&1 \
        && echo "$t: no crash in ${seconds}s" || echo "$t: FAILED, see build/fuzz-logs/$t.log"
}
export -f run
export seconds
printf '%s\n' $targets | xargs -P "$jobs" -I{} bash -c 'run {}'
