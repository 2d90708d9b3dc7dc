#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
# Run (bash scripts/deps.sh) by start.sh, test.sh, test-sanitize.sh, bench.sh and
# fuzz.sh before they build; runs apt-get as root or through sudo.
#   bash scripts/deps.sh               the Linux build's packages (the list below)
#   bash scripts/deps.sh PACKAGE...    these instead (scripts/windows.sh toolchain passes its own)
set -euo pipefail

ZARNOLITH_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation xvfb xauth x11-utils dbus-daemon at-spi2-core imagemagick xdotool xdg-utils appstream desktop-file-utils dpkg-dev
  libxcb1-dev
  file
  openbox
  weston
  qt6-wayland
  clang libclang-rt-14-dev python3
  clang-format
  fonts-dejavu-core
  locales
  qt6ct
)

[ $# -eq 0 ] || ZARNOLITH_PACKAGES=("$@")

missing=()
for p in "${ZARNOLITH_PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  # Other builds on the machine may hold the package lock for a while: wait for it.
  $SUDO apt-get -o DPkg::Lock::Timeout=600 update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
fi
