#!/usr/bin/env bash
# Runs a command in a private desktop session of the given kind:
#   openbox  a virtual X display (1920x1080, or ZARNOLITH_TEST_SCREEN such as
#            3840x2160x24; ZARNOLITH_TEST_XFT_DPI sets Xft.dpi) with the
#            openbox window manager
#   bare     the virtual X display alone, no window manager
#   weston   a headless Wayland compositor (weston)
# The command learns the session from ZARNOLITH_WINDOW_MANAGER (openbox, its
# process ZARNOLITH_WINDOW_MANAGER_PID) and ZARNOLITH_TEST_PLATFORM (the Qt
# platform the program under test is to use).
set -euo pipefail
kind=${1:?usage: with-desktop.sh openbox|bare|weston command...}
shift

need() {
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "with-desktop: $tool missing" >&2; exit 1; }
  done
}

dir=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$dir"
}
trap cleanup EXIT

case "$kind" in
  openbox | bare)
    need Xvfb
    # Xvfb picks a free display itself and names it once it accepts clients; it
    # keeps running between the tests' connections instead of resetting.
    coproc XVFB { exec Xvfb -displayfd 1 -screen 0 "${ZARNOLITH_TEST_SCREEN:-1920x1080x24}" -nolisten tcp -noreset 2>"$dir/xvfb.log"; }
    pids+=("$XVFB_PID")
    read -r -t 60 number <&"${XVFB[0]}" || { echo "with-desktop: Xvfb did not start" >&2; cat "$dir/xvfb.log" >&2; exit 1; }
    export DISPLAY=":$number"
    # Display scaling as desktops set it for X11 programs (Qt follows Xft.dpi).
    if [ -n "${ZARNOLITH_TEST_XFT_DPI:-}" ]; then
      need xprop
      xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.dpi:\t%s\n' "$ZARNOLITH_TEST_XFT_DPI")"
    fi
    unset WAYLAND_DISPLAY
    export ZARNOLITH_TEST_PLATFORM=xcb
    if [ "$kind" = openbox ]; then
      need openbox
      # Its own configuration home: the default settings, none of the user's.
      mkdir -p "$dir/home"
      HOME="$dir/home" XDG_CONFIG_HOME="$dir/home" openbox --sm-disable 2>"$dir/openbox.log" &
      pids+=("$!")
      export ZARNOLITH_WINDOW_MANAGER=openbox # the tests wait until it has taken the display
      export ZARNOLITH_WINDOW_MANAGER_PID="$!" # a test may stop it for a while (a busy machine)
    else
      unset ZARNOLITH_WINDOW_MANAGER ZARNOLITH_WINDOW_MANAGER_PID
    fi
    ;;
  weston)
    need weston
    mkdir -m 0700 "$dir/run"
    XDG_RUNTIME_DIR="$dir/run" weston --backend=headless-backend.so --socket=wayland-test --idle-time=0 \
      >"$dir/weston.log" 2>&1 &
    pids+=("$!")
    for _ in $(seq 600); do
      [ -S "$dir/run/wayland-test" ] && break
      kill -0 "${pids[-1]}" 2>/dev/null || break
      sleep 0.05
    done
    [ -S "$dir/run/wayland-test" ] || { echo "with-desktop: weston did not start" >&2; cat "$dir/weston.log" >&2; exit 1; }
    # An absolute path: the tests give each program its own runtime directory.
    export WAYLAND_DISPLAY="$dir/run/wayland-test"
    unset DISPLAY ZARNOLITH_WINDOW_MANAGER
    export ZARNOLITH_TEST_PLATFORM=wayland
    ;;
  *)
    echo "with-desktop: unknown session $kind" >&2
    exit 2
    ;;
esac

"$@"
