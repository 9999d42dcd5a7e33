#!/usr/bin/env bash
# Sets up, builds and runs the program in a fresh home of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
export MERIVANE_HOME="${MERIVANE_HOME:-$(mktemp -d)}"
echo "Home: $MERIVANE_HOME"
./build/release/src/merivane /?
