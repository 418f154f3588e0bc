#!/usr/bin/env bash
# By hand, as root: installs the Debian package into a fresh Debian chroot (as
# on a clean machine), runs `tessaron-scope --version` there, and starts the
# program the way the desktop does, from the Exec line of its installed
# desktop entry, on a virtual X display; the screenshot is left beside the
# chroot. Not part of CI: it fetches a base system.
#
#   scripts/clean-install-check.sh build/tessaron-scope_*.deb [CHROOT]
set -euo pipefail
deb=$(realpath "$1")
root=${2:-/tmp/tessaron-clean-root}
suite=bookworm
mirror=http://deb.debian.org/debian

if [ ! -x "$root/usr/bin/apt-get" ]; then
  command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap
  debootstrap --variant=minbase "$suite" "$root" "$mirror"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
cat > "$root/etc/apt/sources.list" <<SOURCES
deb $mirror $suite main
deb $mirror $suite-updates main
deb http://deb.debian.org/debian-security $suite-security main
SOURCES
cp "$deb" "$root/tmp/"
# What a running system has: processes, the device tree the port listing
# walks, and pseudo-terminals for the built-in simulator.
mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
mountpoint -q "$root/sys" || mount -t sysfs sysfs "$root/sys"
mountpoint -q "$root/dev/pts" || mount --bind /dev/pts "$root/dev/pts"
trap 'umount "$root/dev/pts" "$root/sys" "$root/proc" 2>/dev/null || true' EXIT

in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

in_root sh -c 'export DEBIAN_FRONTEND=noninteractive; apt-get update -qq &&
  apt-get install -y -qq ./tmp/'"$(basename "$deb")"' >/tmp/install.log 2>&1 || { cat /tmp/install.log; exit 1; }'
echo "== installed: $(in_root dpkg-query -W -f='${Package} ${Version}' tessaron-scope)"
echo "== tessaron-scope --version: $(in_root tessaron-scope --version)"
in_root tessaron-scope --show-paths

# The desktop entry, as a launcher runs it, on a virtual display.
in_root sh -c 'DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends xvfb xauth x11-apps >/dev/null'
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/com.tessaron.scope.desktop")
echo "== desktop entry Exec: $exec_line"
in_root xvfb-run -a -s "-screen 0 1100x720x24" sh -c "
  $exec_line 2>/tmp/scope.err & pid=\$!
  sleep 8
  if kill -0 \$pid; then echo '== running after 8 s'; else echo '== it ended'; fi
  xwd -root -silent > /tmp/desktop-entry.xwd
  kill \$pid; wait \$pid 2>/dev/null || true
  echo '== its standard error:'; cat /tmp/scope.err"
cp "$root/tmp/desktop-entry.xwd" "$(dirname "$root")/desktop-entry.xwd"
echo "== screenshot: $(dirname "$root")/desktop-entry.xwd"
