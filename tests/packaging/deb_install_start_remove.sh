#!/usr/bin/env bash
# Builds the .deb, installs it, starts the installed program under a virtual X
# server, checks it runs with its files in place, then removes the package.
set -euo pipefail
build=$1
if [ "$(id -u)" -ne 0 ] || ! command -v dpkg >/dev/null || ! command -v xvfb-run >/dev/null; then
  echo "needs root, dpkg and xvfb-run: skipped"; exit 77
fi
if dpkg-query -W -f='${Status}' zarnolith 2>/dev/null | grep -q "install ok installed"; then
  echo "a zarnolith package is installed already: skipped"; exit 77
fi
# Another installation on the machine may hold dpkg's lock for a while: wait for it, as apt does.
dpkg_wait() { apt-get -o DPkg::Lock::Timeout=600 -qq "$@"; }
work=$(mktemp -d)
trap 'dpkg_wait remove zarnolith >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >/dev/null)
deb=$(ls "$work"/zarnolith_*.deb)
DEBIAN_FRONTEND=noninteractive dpkg_wait install --no-install-recommends "$deb" >/dev/null
for f in /usr/bin/zarnolith /usr/lib/zarnolith/zarnolith /usr/lib/zarnolith/libzarnolith-gui.so /usr/lib/zarnolith/History.txt \
         /usr/share/applications/zarnolith.desktop /usr/share/icons/hicolor/scalable/apps/zarnolith.svg \
         /usr/share/metainfo/org.example.Zarnolith.metainfo.xml; do
  [ -e "$f" ] || { echo "missing after install: $f"; exit 1; }
done
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"
mkdir -m 700 "$XDG_RUNTIME_DIR"
setsid xvfb-run -a /usr/bin/zarnolith >"$work/out.txt" 2>&1 &
runner=$!
# "query": waits until the program answers with its main window's title;
# "close": sends 1124, as an outside program does. Both give up after 120 s.
channel() {
  python3 - "$1" <<'PY'
import os, socket, sys, time
path = os.environ["XDG_RUNTIME_DIR"] + "/Zarnolith V1.01.sock"
deadline = time.monotonic() + 120
while time.monotonic() < deadline:
    try:
        s = socket.socket(socket.AF_UNIX)
        s.settimeout(5)
        s.connect(path)
        if sys.argv[1] == "close":
            s.sendall(b"1124\n")
            sys.exit(0)
        s.sendall(b"?\n")
        answer = b""
        while b"Zarnolith V1.01\n" not in answer:
            chunk = s.recv(4096)
            if not chunk:
                break
            answer += chunk
        if b"Zarnolith V1.01\n" in answer:
            sys.exit(0)
    except OSError:
        pass
    time.sleep(0.1)
sys.exit(1)
PY
}
channel query &
asker=$!
while kill -0 "$asker" 2>/dev/null && kill -0 "$runner" 2>/dev/null; do sleep 0.1; done
if ! kill -0 "$runner" 2>/dev/null; then
  kill "$asker" 2>/dev/null || true
  echo "the installed program ended at once:"; cat "$work/out.txt"; exit 1
fi
wait "$asker" || { kill -- -"$runner" 2>/dev/null || true; echo "the installed program never answered"; exit 1; }
# Close it the way an outside program does: message 1124 through its channel.
channel close || { kill -- -"$runner" 2>/dev/null || true; echo "message 1124 could not be sent"; exit 1; }
for _ in $(seq 1200); do kill -0 "$runner" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$runner" 2>/dev/null; then
  kill -- -"$runner" 2>/dev/null || true
  echo "the installed program did not end on message 1124"; exit 1
fi
wait "$runner" || { echo "the installed program ended with an error:"; cat "$work/out.txt"; exit 1; }
dpkg_wait remove zarnolith >/dev/null
for f in /usr/bin/zarnolith /usr/lib/zarnolith /usr/share/applications/zarnolith.desktop; do
  [ ! -e "$f" ] || { echo "left behind after removal: $f"; exit 1; }
done
echo "installed, started and removed cleanly"
