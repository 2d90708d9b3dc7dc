#!/usr/bin/env bash
# Builds the program and its tests for Windows and runs the whole suite under Wine, headless:
#   bash scripts/windows-test.sh [CTEST ARGUMENTS...]      e.g. -R test_app to run one program
# 1. installs the missing Debian packages (fonts, Xvfb, openbox for the desktop tests);
# 2. prepares the Windows toolchain (Qt and GoogleTest cross-built once, then cached);
# 3. makes the Wine prefix (once; ZARNOLITH_WINEPREFIX chooses another);
# 4. configures and builds everything in build-win64 (ZARNOLITH_WIN64_BUILD chooses another);
# 5. runs CTest, with Wine as the emulator. The test programs on the offscreen platform need no
#    display; the tests of real windows start their own (Xvfb with openbox, tests/windows).
# Each step's wall time is printed.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${ZARNOLITH_WIN64_BUILD:-$ROOT/build-win64}

step() {
  local name=$1 start=$SECONDS
  shift
  "$@"
  echo "windows-test: $name: $((SECONDS - start)) s"
}

configure() {
  local launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZARNOLITH_BUILD_BENCH=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw64.cmake" "${launcher[@]}" >/dev/null
}

run_tests() {
  # Wine must not reach a display the caller may have: headless means headless.
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen \
    ctest --test-dir "$BUILD" --output-on-failure -j2 --timeout 900 "$@"
}

step "packages" bash "$ROOT/scripts/deps.sh"
step "toolchain" bash "$ROOT/scripts/windows-toolchain.sh"
step "Wine prefix" bash "$ROOT/scripts/windows-wineprefix.sh"
step "configure" configure
step "build" nice -n 10 cmake --build "$BUILD" -j"$(nproc)"
step "tests" run_tests "$@"
