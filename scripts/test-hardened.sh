#!/usr/bin/env bash
# The whole test suite again under AddressSanitizer and UndefinedBehaviorSanitizer, then a
# replay of every fuzz target's committed corpus. Any sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cmake --preset sanitize
cmake --build --preset sanitize
ctest --preset sanitize -j "$(nproc)"
cmake --preset fuzz
cmake --build --preset fuzz
ctest --test-dir build/fuzz -j "$(nproc)" --output-on-failure
