#!/usr/bin/env bash
# The Windows build's start-up under Wine, in one run, against baselines made with the same
# compiler and Qt (bench/windows/StartBench.cpp):
#   - a second start (an instance already running) against a program that only starts and ends,
#     target at most 3 x; and the second start must not load the toolkit: Wine's loaddll channel
#     lists every DLL it maps, and no Qt DLL may be among them;
#   - the first start until the start-values dialog is open against the floor, the smallest Qt
#     Widgets program until its window is open plus the program's own 15 ms of waits, target at
#     most 1.2 x; its peak working set at most 1.2 x the smallest program's.
# The program runs from its installed folder (the zip's layout), on a virtual X display, in a
# Wine prefix of its own.
#   bash scripts/windows-bench.sh [RUNS]      (default 10 runs of each)
# Environment: ZARNOLITH_WIN64_BUILD (build directory, default build-win64, shared with the
# Windows tests and packages).
# Exit code: 0 when every check held, 1 when one missed, 2 when something failed to run.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${ZARNOLITH_WIN64_BUILD:-$ROOT/build-win64}
RUNS=${1:-10}

if [ -z "${ZARNOLITH_BENCH_DISPLAY:-}" ]; then
  bash "$ROOT/scripts/windows-toolchain.sh"
  launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw64.cmake" \
    -DZARNOLITH_BUILD_BENCH=ON "${launcher[@]}" >/dev/null
  nice -n 10 cmake --build "$BUILD" -j"$(nproc)" --target zarnolith zarnolith_gui \
    bench_windows_start startup_baseline_window bench_trivial_program
  # Every Wine process of the run on one virtual display.
  exec bash "$ROOT/tests/support/with-desktop.sh" bare env ZARNOLITH_BENCH_DISPLAY=1 bash "$0" "$@"
fi

cache=${ZARNOLITH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zarnolith}/win64
export ZARNOLITH_WINEPREFIX=$cache/wineprefix-bench
export WINEPREFIX=$ZARNOLITH_WINEPREFIX WINEARCH=win64 WINEDEBUG=-all
unset WINEPATH QT_QPA_PLATFORM
run=$ROOT/scripts/windows-run.sh
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
bash "$run" cmd /c exit >/dev/null 2>&1 || true # makes the prefix on first use

# The shipped layout, with the baseline beside it so that it finds the same Qt.
cmake --install "$BUILD" --prefix "$work/app" >/dev/null
cp "$BUILD/bench/startup_baseline_window.exe" "$work/app/"
app=$work/app

# The toolkit stays unloaded in a second start.
bash "$run" "$app/zarnolith.exe" >/dev/null 2>&1 &
first=$!
disown "$first" # ended below with the prefix's other processes
for _ in $(seq 1200); do
  xdotool search --onlyvisible --name '^Zarnolith V1.01$' >/dev/null 2>&1 && break
  kill -0 "$first" 2>/dev/null || break
  sleep 0.1
done
xdotool search --onlyvisible --name '^Zarnolith V1.01$' >/dev/null 2>&1 ||
  { echo "windows-bench: the first instance did not come up" >&2; exit 2; }
rc=0
WINEDEBUG=+loaddll bash "$run" "$app/zarnolith.exe" 2>"$work/loaddll.txt" >/dev/null || rc=$?
wineserver -k 2>/dev/null || true
status=0
loaded=$(grep -c 'Loaded L"' "$work/loaddll.txt" || true)
qt=$(grep -i 'Loaded L".*\\Qt6[A-Za-z]*\.dll"' "$work/loaddll.txt" || true)
if [ "$rc" -ne 0 ] || [ "$loaded" -eq 0 ]; then
  echo "windows-bench: the second start ended with $rc, $loaded DLLs traced" >&2
  exit 2
elif [ -n "$qt" ]; then
  echo "second start loads the toolkit: MISSED"
  echo "$qt"
  status=1
else
  echo "second start: $loaded DLLs mapped, none of Qt's: met"
fi

bench=0
bash "$run" "$BUILD/bench/bench_windows_start.exe" "$app/zarnolith.exe" "$app/startup_baseline_window.exe" \
  "$BUILD/bench/bench_trivial_program.exe" "$RUNS" || bench=$?
[ "$bench" -le 1 ] || exit 2
exit $((status | bench))
