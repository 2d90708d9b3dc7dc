#!/usr/bin/env bash
# Runs a command on the current X display with the X resource Xft.dpi set, as a
# desktop sets it for a user who enlarges everything (Qt takes its scale from it).
set -euo pipefail
dpi=${1:?usage: with-xft-dpi.sh DPI command...}
shift
command -v xprop >/dev/null || { echo "with-xft-dpi: xprop missing (x11-utils)" >&2; exit 1; }
xprop -root -format RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.dpi:	$dpi"
exec "$@"
