#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset tests ${ZARNOLITH_CMAKE_ARGS:-} >/dev/null
cmake --build --preset tests
ctest --preset tests
