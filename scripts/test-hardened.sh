#!/usr/bin/env bash
# The whole test suite again under AddressSanitizer and UndefinedBehaviorSanitizer, then a
# replay of every fuzz target's committed corpus. Any sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
# The suppressions lie outside both trees: a test hides them to run the installed program.
lsan_supp=$(mktemp --suffix=.supp)
trap 'rm -f "$lsan_supp"' EXIT
cp scripts/lsan.supp "$lsan_supp"
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$lsan_supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cmake --preset sanitize
cmake --build --preset sanitize
ctest --preset sanitize -j "$(nproc)"
cmake --preset fuzz
cmake --build --preset fuzz
ctest --test-dir build/fuzz -j "$(nproc)" --output-on-failure
