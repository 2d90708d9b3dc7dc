#!/usr/bin/env bash
# Screenshots of the Windows build for the README: the program from its packaged folder under
# Wine on a virtual X display, with the default display font (Arial, 14 pt), driven by keys like a
# user: start values 1920 x 1080 in the dialog, then the new width 800 in the main window. Writes
# docs/screenshots/windows-startwerte.png and docs/screenshots/windows-hauptfenster.png.
# Needs the Windows build (bash scripts/windows-package.sh).
#   bash scripts/windows-screenshots.sh
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${ZARNOLITH_WIN64_BUILD:-$ROOT/build-win64}
OUT=$ROOT/docs/screenshots

if [ -z "${ZARNOLITH_SCREENSHOT_DISPLAY:-}" ]; then
  [ -f "$BUILD/bin/zarnolith.exe" ] || { echo "screenshots: build first (bash scripts/windows-package.sh)" >&2; exit 1; }
  for tool in Xvfb xdotool import wine; do
    command -v "$tool" >/dev/null || { echo "screenshots: $tool missing" >&2; exit 1; }
  done
  exec bash "$ROOT/tests/support/with-desktop.sh" bare env ZARNOLITH_SCREENSHOT_DISPLAY=1 bash "$0" "$@"
fi

cache=${ZARNOLITH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zarnolith}/win64
# The benchmark's prefix: the program's fixed mutex and title meet no test there.
export ZARNOLITH_WINEPREFIX=$cache/wineprefix-bench
export WINEPREFIX=$ZARNOLITH_WINEPREFIX WINEARCH=win64 WINEDEBUG=-all
unset WINEPATH QT_QPA_PLATFORM
run=$ROOT/scripts/windows-run.sh
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
bash "$run" cmd /c exit >/dev/null 2>&1 || true
wineserver -k 2>/dev/null || true
# The default display settings: no stored ones.
bash "$run" reg delete 'HKCU\Software\Zarnolith' /f >/dev/null 2>&1 || true
# Wine has no Arial, the default display font: as on Linux, its metric twin Liberation Sans
# (fonts-liberation) stands in, where Wine would otherwise take a serif face.
bash "$run" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f >/dev/null
cmake --install "$BUILD" --prefix "$work/app" >/dev/null

bash "$run" "$work/app/zarnolith.exe" >/dev/null 2>&1 &
disown $! # ended with the prefix's other processes

# The visible window whose title matches, once it is there.
window() {
  local id
  for _ in $(seq 600); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  echo "screenshots: no window \"$1\"" >&2
  return 1
}

mkdir -p "$OUT"
dialog=$(window '^Neue Startwerte')
sleep 1
xdotool windowfocus --sync "$dialog"
# The width field has the focus with its text selected; Tab goes on to the height.
xdotool type --delay 60 1920
xdotool key Tab
xdotool type --delay 60 1080
sleep 0.5
import -window "$dialog" "$OUT/windows-startwerte.png"
xdotool key Return
# The dialog gone, the main window drawn again with the start values.
for _ in $(seq 300); do
  xdotool search --onlyvisible --name '^Neue Startwerte' >/dev/null 2>&1 || break
  sleep 0.1
done

main=$(window '^Zarnolith V1.01$')
sleep 1
xdotool windowfocus --sync "$main"
# The new width has the focus with its text selected: overtype it.
xdotool type --delay 60 800
sleep 0.5
import -window "$main" "$OUT/windows-hauptfenster.png"
echo "screenshots: $OUT/windows-startwerte.png $OUT/windows-hauptfenster.png"
