#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Orvane's Debian package (prefix /usr, dependencies computed by dpkg-shlibdeps) in
# build/package and prints its path. tools/check-package.sh installs it on a fresh Debian 12.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/package"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DORVANE_BUILD_TESTS=OFF -DORVANE_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2
rm -f "$build"/orvane_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/orvane_*.deb
