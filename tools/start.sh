#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what Orvane needs, builds it (release) and starts it: the desktop program `orvane` when
# there is a display, otherwise the remapper without a window (`orvanectl run`). Arguments, when
# given, go to orvanectl instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
cmake --preset release -S "$root" >/dev/null
cmake --build --preset release
build="$root/build/release"
orvanectl="$build/tools/orvanectl/orvanectl"
if [ $# -gt 0 ]; then exec "$orvanectl" "$@"; fi

app="$build/app/orvane"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "start.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so no window and no" \
        "tray icon: running the remapper alone (orvanectl run; Ctrl+C stops it)." >&2
elif [ ! -x "$app" ]; then
    echo "start.sh: the desktop program is not built ($app): running the remapper alone" \
        "(orvanectl run; Ctrl+C stops it)." >&2
else
    echo "start.sh: starting Orvane ($app)" >&2
    exec "$app"
fi
exec "$orvanectl" run
