#!/usr/bin/env bash
# Checks that the Windows toolchain works: prepares it (cached after the first run), builds the small
# program in tests/windows-smoke with it and runs its test under Wine through CTest, headless.
#   bash scripts/windows-smoke.sh [BUILD_DIR]      (default build-windows-smoke)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build-windows-smoke}
bash "$ROOT/scripts/windows-toolchain.sh"
bash "$ROOT/scripts/windows-wineprefix.sh"
cmake -S "$ROOT/tests/windows-smoke" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw64.cmake" >/dev/null
nice -n 10 cmake --build "$BUILD" -j2
ctest --test-dir "$BUILD" --output-on-failure --timeout 300
