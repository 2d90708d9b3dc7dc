#!/usr/bin/env bash
# Makes a headless 64-bit Wine prefix to run the Windows build in (no display needed):
#   bash scripts/windows-wineprefix.sh [PREFIX]
# PREFIX defaults to ZARNOLITH_WINEPREFIX, else <cache>/win64/wineprefix (cache as in
# windows-toolchain.sh). An existing complete prefix is kept; --fresh makes it anew.
set -euo pipefail
fresh=0
if [ "${1:-}" = --fresh ]; then fresh=1; shift; fi
CACHE=${ZARNOLITH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zarnolith}/win64
PREFIX=${1:-${ZARNOLITH_WINEPREFIX:-$CACHE/wineprefix}}
stamp=$PREFIX/.zarnolith-prefix-ready

if [ $fresh = 0 ] && [ -f "$stamp" ]; then exit 0; fi
command -v wine >/dev/null || { echo "wine is missing: run bash scripts/windows-toolchain.sh" >&2; exit 1; }

export WINEPREFIX=$PREFIX WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and there is no prompt to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
wineserver -k 2>/dev/null || true
rm -rf "$PREFIX"
mkdir -p "$(dirname "$PREFIX")"
nice -n 10 wine wineboot --init >/dev/null 2>&1
wineserver -w

# A crashing program must end (and fail its test), not wait in Wine's crash dialog.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -w

# Wine does not find its own fonts in /usr/share/wine/fonts here; without Tahoma ("MS Shell Dlg")
# Qt falls back to a font that draws no text in line edits. Copy them into C:\windows\Fonts.
fonts=(/usr/share/wine/fonts/*.ttf)
[ -f "${fonts[0]}" ] || { echo "no fonts in /usr/share/wine/fonts (package fonts-wine)" >&2; exit 1; }
cp "${fonts[@]}" "$PREFIX/drive_c/windows/Fonts/"
touch "$stamp"
echo "Wine prefix ready: $PREFIX"
