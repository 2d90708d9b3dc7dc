#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target zarnolith
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "There is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
  echo "Zarnolith is a desktop program. To run it headless, use a virtual X server:" >&2
  echo "    xvfb-run -a build/bin/zarnolith" >&2
  exit 1
fi
exec build/bin/zarnolith
