#!/usr/bin/env bash
# Runs a command as under a screen reader: a private D-Bus session with the
# accessibility bus, a virtual X display, and Qt's accessibility bridge on.
set -euo pipefail
launcher=/usr/libexec/at-spi-bus-launcher
if [ ! -x "$launcher" ] || ! command -v dbus-run-session >/dev/null; then
  echo "with-atspi: at-spi2-core or dbus-daemon missing" >&2
  exit 1
fi
export LAUNCHER=$launcher
# The display comes from with-desktop.sh, where Xvfb picks a free one itself:
# xvfb-run -a lets two runs that start together choose the same display.
exec dbus-run-session -- "$(dirname "$0")/with-desktop.sh" bare bash -c '
  "$LAUNCHER" --launch-immediately &
  bus=$!
  trap "kill $bus 2>/dev/null" EXIT
  QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 ZARNOLITH_REQUIRE_ACCESSIBILITY=1 "$@"
' bash "$@"
