#!/usr/bin/env bash
# Runs a Windows test program under Wine on a desktop of its own (Xvfb with
# openbox) in the given Wine prefix, and ends every Wine process of that prefix
# afterwards, so the next test's desktop starts clean:
#   on-desktop.sh WINEPREFIX [--reg-file FILE.reg]... [--reg KEY NAME TYPE DATA]...
#                 windows.sh run [--dll-dir DIR]... PROGRAM.exe [ARGS...]
# Each --reg-file is imported into the prefix's registry and each --reg sets a
# value (as `wine reg add` does; e.g. the desktop's colours or resolution under
# "HKCU\Control Panel") before anything runs in it, so that every program
# started there sees them from its first line on. A prefix that does not exist
# yet is made first.
set -uo pipefail
export ZARNOLITH_WINEPREFIX=${1:?usage: on-desktop.sh WINEPREFIX [--reg KEY NAME TYPE DATA]... COMMAND...}
shift
here=$(cd "$(dirname "$0")" && pwd)
values=()
files=()
while [ $# -gt 0 ]; do
  case $1 in
    --reg-file)
      [ $# -ge 2 ] && [ -f "$2" ] || { echo "on-desktop: --reg-file needs an existing FILE" >&2; exit 2; }
      files+=("Z:$(readlink -f "$2" | tr / '\\')")
      shift 2 ;;
    --reg)
      [ $# -ge 5 ] || { echo "on-desktop: --reg needs KEY NAME TYPE DATA" >&2; exit 2; }
      values+=("$2" "$3" "$4" "$5")
      shift 5 ;;
    *) break ;;
  esac
done
if [ ${#values[@]} -gt 0 ] || [ ${#files[@]} -gt 0 ]; then
  [ -f "$ZARNOLITH_WINEPREFIX/.zarnolith-prefix-ready" ] \
    || flock "$ZARNOLITH_WINEPREFIX.lock" bash "$here/../../scripts/windows.sh" wineprefix "$ZARNOLITH_WINEPREFIX" >&2 \
    || exit 1
  (
    export WINEPREFIX=$ZARNOLITH_WINEPREFIX WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    unset DISPLAY WAYLAND_DISPLAY
    for file in "${files[@]}"; do
      wine regedit /S "$file" >/dev/null 2>&1 \
        || { echo "on-desktop: could not import $file into $WINEPREFIX" >&2; exit 1; }
    done
    set -- "${values[@]}"
    while [ $# -gt 0 ]; do
      wine reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1 \
        || { echo "on-desktop: could not set $1\\$2 in $WINEPREFIX" >&2; exit 1; }
      shift 4
    done
    # Written to the prefix's files before the first program of the desktop reads them.
    wineserver -w
  ) || exit 1
fi
bash "$here/../support/with-desktop.sh" openbox bash -c '
  # The window manager first: it answers for the current desktop once it runs.
  for _ in $(seq 1200); do
    xdotool get_desktop >/dev/null 2>&1 && break
    sleep 0.05
  done
  xdotool get_desktop >/dev/null 2>&1 || { echo "on-desktop: openbox did not take the display" >&2; exit 1; }
  "$@"
  rc=$?
  WINEPREFIX=$ZARNOLITH_WINEPREFIX wineserver -k 2>/dev/null
  exit $rc' on-desktop "$@"
