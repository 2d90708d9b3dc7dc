#!/usr/bin/env bash
# Builds the Windows packages on a Debian 12 machine, from nothing: installs the missing Debian
# packages, prepares the Windows toolchain (cached after the first run), builds the program for
# Windows in build-win64 and packs it:
#   build-win64/zarnolith-1.01-win64.zip         unpack anywhere, start zarnolith.exe
#   build-win64/zarnolith-1.01-win64-setup.exe   per-user installer (NSIS)
#
#   bash scripts/windows-package.sh          build the two packages
#   bash scripts/windows-package.sh --test   build them, then install, start and remove each under
#                                            Wine (CTest: packaging.win64_zip, packaging.win64_installer)
# Environment: ZARNOLITH_WIN64_BUILD (build directory, default build-win64).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${ZARNOLITH_WIN64_BUILD:-$ROOT/build-win64}
test=0
case "${1:-}" in
  --test) test=1 ;;
  "") ;;
  *) echo "usage: $0 [--test]" >&2; exit 2 ;;
esac

bash "$ROOT/scripts/windows-toolchain.sh"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw64.cmake" "${launcher[@]}" >/dev/null
targets=(zarnolith zarnolith_gui)
[ $test = 0 ] || targets+=(post_to_title)
nice -n 10 cmake --build "$BUILD" -j"$(nproc)" --target "${targets[@]}"
(cd "$BUILD" && cpack -G "ZIP;NSIS" >/dev/null)
for package in zarnolith-1.01-win64.zip zarnolith-1.01-win64-setup.exe; do
  [ -f "$BUILD/$package" ] || { echo "windows-package: $package was not made" >&2; exit 1; }
  printf 'windows-package: %s (%s bytes)\n' "$BUILD/$package" "$(stat -c %s "$BUILD/$package")"
done

if [ $test = 1 ]; then
  ctest --test-dir "$BUILD" -R '^packaging\.win64_' --no-tests=error --output-on-failure --timeout 900
fi
