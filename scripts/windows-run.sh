#!/usr/bin/env bash
# Runs a Windows program under Wine; CTest uses it as the cross-compiling emulator:
#   scripts/windows-run.sh [--dll-dir DIR]... PROGRAM.exe [ARGUMENTS...]
# - the Wine prefix is ZARNOLITH_WINEPREFIX (else <cache>/win64/wineprefix), made on first use;
# - each DLL folder goes onto the program's PATH, so Qt's and the compiler's DLLs are found;
# - Wine hands no QT_* variables to Windows programs, only WINEQT_* ones (renamed to QT_*):
#   every QT_* variable is passed on that way; QT_QPA_FONTDIR defaults to the prefix's fonts;
# - the program's exit code is returned.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
CACHE=${ZARNOLITH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zarnolith}/win64
export WINEPREFIX=${ZARNOLITH_WINEPREFIX:-$CACHE/wineprefix}
export WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

path=""
while [ $# -gt 0 ] && [ "$1" = --dll-dir ]; do
  path="${path:+$path;}Z:$(readlink -f "$2" | tr / '\\')"
  shift 2
done
[ $# -gt 0 ] || { echo "usage: $0 [--dll-dir DIR]... PROGRAM [ARGUMENTS...]" >&2; exit 2; }
[ -n "$path" ] && export WINEPATH="$path${WINEPATH:+;$WINEPATH}"

# The offscreen and minimal platforms read fonts from a folder, by default one inside Qt that is
# empty: give them the prefix's Windows fonts.
export QT_QPA_FONTDIR=${QT_QPA_FONTDIR:-$WINEPREFIX/drive_c/windows/Fonts}
for name in $(compgen -e); do
  case $name in QT_*) export "WINE$name=${!name}" ;; esac
done

if [ ! -f "$WINEPREFIX/.zarnolith-prefix-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  # parallel tests: one makes the prefix, the others wait for it
  flock "$WINEPREFIX.lock" bash "$here/windows-wineprefix.sh" "$WINEPREFIX" >&2
fi
exec wine "$@"
