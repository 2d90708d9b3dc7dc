#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${ZARNOLITH_CMAKE_ARGS:-} >/dev/null
cmake --build build-tests -j2
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-tests --output-on-failure -j2 --timeout 300
