#!/usr/bin/env bash
# Runs a Windows test program under Wine on a desktop of its own (Xvfb with
# openbox) in the given Wine prefix, and ends every Wine process of that prefix
# afterwards, so the next test's desktop starts clean:
#   on-desktop.sh WINEPREFIX windows-run.sh [--dll-dir DIR]... PROGRAM.exe [ARGUMENTS...]
set -uo pipefail
export ZARNOLITH_WINEPREFIX=${1:?usage: on-desktop.sh WINEPREFIX COMMAND...}
shift
here=$(cd "$(dirname "$0")" && pwd)
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
