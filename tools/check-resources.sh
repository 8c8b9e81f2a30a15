#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks what the desktop reads from Orvane's resources: the desktop file passes
# desktop-file-validate and keeps the keys panels depend on, and the tray icon is symbolic (drawn
# in the panel's text colour, which GNOME and Plasma recolour for light and dark panels).
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
fail() { echo "check-resources: $*" >&2; status=1; }
desktop=resources/linux/orvane.desktop
desktop-file-validate "$desktop" || fail "$desktop does not validate"
for line in 'Exec=orvane' 'Icon=orvane' 'StartupNotify=false' 'Type=Application'; do
    grep -qx "$line" "$desktop" || fail "$desktop lacks $line"
done
symbolic=resources/icons/orvane-symbolic.svg
grep -q 'class="ColorScheme-Text"' "$symbolic" || fail "$symbolic has no ColorScheme-Text shape"
if grep -oE '(fill|stroke)="[^"]*"' "$symbolic" | grep -vqE '"(currentColor|none)"'; then
    fail "$symbolic paints in a fixed colour, which the panel cannot recolour"
fi
grep -q '<svg' resources/icons/orvane.svg || fail "resources/icons/orvane.svg is not an SVG"
exit $status
