#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages listed in debian-packages.txt (as root, or through sudo).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mapfile -t packages < <(grep -v -e '^#' -e '^[[:space:]]*$' "$here/debian-packages.txt")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
# The VM tests' first run looks the kernel package up, so package lists must exist even when
# nothing is missing.
if [ ${#missing[@]} -gt 0 ] || ! compgen -G '/var/lib/apt/lists/*_Packages' >/dev/null; then
    $sudo apt-get update -qq
fi
[ ${#missing[@]} -eq 0 ] && exit 0
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
