#!/usr/bin/env bash
# Screenshots for the README: the real program on a virtual X display, driven
# by keys like a user: start values 1920 x 1080 in the dialog, then the new
# width 800 in the main window. Writes docs/screenshots/startwerte.png and
# docs/screenshots/hauptfenster.png. Needs a build (build/bin/zarnolith).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--in-session" ]; then
  bin=${ZARNOLITH_BIN:-build/bin/zarnolith}
  [ -x "$bin" ] || { echo "screenshots: build the program first ($bin)" >&2; exit 1; }
  for tool in xvfb-run xdotool import; do
    command -v "$tool" >/dev/null || { echo "screenshots: $tool missing (scripts/deps.sh)" >&2; exit 1; }
  done
  # A private configuration and runtime directory: no settings or lock of the user's own run.
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  mkdir -p "$scratch/config" "$scratch/runtime" "$scratch/home"
  chmod 700 "$scratch/runtime"
  mkdir -p docs/screenshots
  XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" HOME="$scratch/home" \
    xvfb-run -a -s "-screen 0 1280x800x24" "$0" --in-session "$bin" docs/screenshots
  exit 0
fi

bin=$2
out=$3
QT_QPA_PLATFORM=xcb "$bin" &
program=$!
trap 'kill "$program" 2>/dev/null || true' EXIT

# The visible window whose title matches, once it is there.
window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  echo "screenshots: no window \"$1\"" >&2
  return 1
}

dialog=$(window '^Neue Startwerte')
sleep 0.5
xdotool windowfocus --sync "$dialog"
# The width field has the focus with its text selected; Tab goes on to the height.
xdotool type --delay 40 1920
xdotool key Tab
xdotool type --delay 40 1080
sleep 0.3
import -window "$dialog" "$out/startwerte.png"
xdotool key Return

main=$(window '^Zarnolith V1.01$')
sleep 0.3
xdotool windowfocus --sync "$main"
# The new width has the focus with its text selected: overtype it.
xdotool type --delay 40 800
sleep 0.3
import -window "$main" "$out/hauptfenster.png"
echo "screenshots: $out/startwerte.png $out/hauptfenster.png"
