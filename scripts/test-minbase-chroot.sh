#!/usr/bin/env bash
# Runs the README's test command (bash scripts/test.sh) on a minimal Debian 12,
# as a fresh container gives it: debootstrap --variant=minbase in a chroot with
# /proc, /sys and /dev mounted, the committed tree (git archive HEAD) copied in.
# Needs root, debootstrap and the Debian mirror; slow (it builds everything).
#   bash scripts/test-minbase-chroot.sh [DIR]
# DIR is reused when it holds a system already; without it a new directory is
# made with mktemp (mode 0700, as in many containers). It is kept afterwards.
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "needs root (debootstrap, chroot, mount)"; exit 1; }
command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap
cd "$(dirname "$0")/.."
root=${1:-$(mktemp -d /var/tmp/zarnolith-minbase.XXXXXX)}
[ -x "$root/bin/bash" ] || debootstrap --variant=minbase bookworm "$root"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" || umount -l "${mounted[i]}"; done
}
trap cleanup EXIT
for d in proc sys dev dev/pts dev/shm; do
  mount --bind "/$d" "$root/$d"
  mounted+=("$root/$d")
done
rm -rf "$root/root/zarnolith"
mkdir -p "$root/root/zarnolith"
git archive HEAD | tar -x -C "$root/root/zarnolith"
echo "minimal Debian in $root; running bash scripts/test.sh there"
start=$(date +%s)
in_root() { # script [command that runs chroot]
  local script=$1
  shift
  env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TERM=dumb LANG=C.UTF-8 \
    "$@" chroot "$root" bash -c "cd /root/zarnolith && bash scripts/$script"
}
# The packages first, from the mirror; then the tests in a network namespace of
# their own: X servers and buses use abstract sockets, which a chroot shares
# with the host, so a virtual display of ours could meet one of the host's.
in_root deps.sh
rc=0
in_root test.sh unshare --net || rc=$?
echo "bash scripts/test.sh in the chroot: exit code $rc after $(($(date +%s) - start)) s"
exit "$rc"
