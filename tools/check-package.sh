#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs Orvane's Debian package on a fresh Debian 12 (a debootstrap chroot) with apt, which pulls
# in the dependencies the package declares, and starts the installed programs there. Needs root and
# the network; not part of the test suite.
#   tools/check-package.sh [PACKAGE.deb]      default: build/package/orvane_*.deb (tools/package.sh)
#   ORVANE_BOOTSTRAP=DIR   copy an already bootstrapped bookworm tree instead of downloading one
#   ORVANE_MIRROR=URL      the Debian mirror (default http://deb.debian.org/debian)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deb=${1:-$(ls "$root"/build/package/orvane_*.deb 2>/dev/null | head -n1)}
[ -f "$deb" ] || { echo "no package: run tools/package.sh first" >&2; exit 2; }
deb=$(realpath "$deb")

tree=$(mktemp -d /tmp/orvane-fresh-debian-XXXXXX)
cleanup() {
    umount "$tree/proc" 2>/dev/null || true
    rm -rf --one-file-system "$tree"
}
trap cleanup EXIT
if [ -n "${ORVANE_BOOTSTRAP:-}" ]; then
    cp -a "$ORVANE_BOOTSTRAP/." "$tree/"
else
    debootstrap --variant=minbase bookworm "$tree" "${ORVANE_MIRROR:-http://deb.debian.org/debian}"
fi
mount -t proc proc "$tree/proc"
cp "$deb" "$tree/tmp/"
in_tree() { chroot "$tree" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    DEBIAN_FRONTEND=noninteractive "$@"; }

in_tree apt-get update -qq
in_tree apt-get install -y -qq "/tmp/$(basename "$deb")" >/dev/null
echo "installed: $(in_tree dpkg-query -W -f='${Package} ${Version}, depends: ${Depends}' orvane)"

for file in /usr/bin/orvanectl /usr/lib/udev/rules.d/70-orvane.rules \
    /usr/share/applications/orvane.desktop /usr/share/icons/hicolor/scalable/apps/orvane.svg \
    /usr/share/icons/hicolor/scalable/apps/orvane-symbolic.svg; do
    in_tree test -f "$file" || { echo "missing after install: $file" >&2; exit 1; }
done
in_tree orvanectl keys | head -n3
# The autostart entry must start the program where the package put it.
in_tree sh -c 'export HOME=/tmp/home XDG_CONFIG_HOME=/tmp/home/.config; mkdir -p $HOME &&
    orvanectl login on && grep "^Exec=" $XDG_CONFIG_HOME/autostart/orvane.desktop' |
    grep -qx 'Exec=/usr/bin/orvane --login' || { echo "autostart does not start /usr/bin/orvane" >&2; exit 1; }
echo "autostart starts /usr/bin/orvane"
if in_tree test -x /usr/bin/orvane; then
    in_tree env QT_QPA_PLATFORM=offscreen timeout 20 /usr/bin/orvane --version
else
    echo "this package has no /usr/bin/orvane (the desktop program was not built)" >&2
    exit 1
fi
echo "package OK"
