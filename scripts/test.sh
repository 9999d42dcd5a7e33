#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
cmake --preset debug
cmake --build --preset debug
ctest --preset debug -j "$(nproc)"
