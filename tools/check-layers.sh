#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a layer includes a layer above it, or when the portable core reaches for Qt or
# the operating system. Layers, lowest first: model, engine, platform/linux, ui, app. platform/linux
# is a base and two rooms beside each other: input/ (evdev, udev) and desktop/ (GLib/GIO, X11),
# with system/ on top of both: the one place that builds their real parts for every program.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
check() { # folder, then the include patterns it must not use
    local folder=$1; shift
    [ -d "$folder" ] || return 0
    for pattern in "$@"; do
        if grep -rnE "#include [<\"]($pattern)" "$folder" --include='*.h' --include='*.cpp'; then
            echo "check-layers: $folder must not include $pattern" >&2
            status=1
        fi
    done
}
os='Q[A-Za-z]+|q[a-z]+\.h|sys/|linux/|unistd\.h|fcntl\.h|libevdev|libudev|xkbcommon|gio/|glib'
check model 'engine/' 'platform/' 'ui/' 'app/' "$os"
check engine 'platform/' 'ui/' 'app/' "$os"
check platform/linux 'ui/' 'app/' 'Q[A-Za-z]+|q[a-z]+\.h'
# The base under the rooms includes neither room nor their libraries.
if grep -nE '#include [<"](platform/linux/(input|desktop|system)/|libevdev|libudev|gio/|glib|xkbcommon|xcb/)' \
    platform/linux/*.h platform/linux/*.cpp; then
    echo "check-layers: platform/linux/ (the base) must not include a room or its libraries" >&2
    status=1
fi
check platform/linux/input 'platform/linux/(desktop|system)/|(\.\./)+(desktop|system)/' 'gio/|glib|gobject|xkbcommon|xcb/'
check platform/linux/desktop 'platform/linux/(input|system)/|(\.\./)+(input|system)/' 'libevdev|libudev'
# The views reach the desktop only through the interfaces in ui/ViewServices.h: no Linux headers.
check ui 'app/' 'platform/' 'sys/|linux/|unistd\.h|fcntl\.h|libevdev|libudev|xkbcommon|gio/|glib'
# The shell library (app/) stays on Qt, the model and the engine: the program run over the Linux
# parts (DesktopProgram), main.cpp and the Linux adapters beside it are the one place that wires
# platform/linux in.
if [ -d app ] && grep -nE '#include [<"]platform/' app/*.h app/*.cpp |
    grep -vE '^app/(main\.cpp|DesktopProgram\.(h|cpp)|InputBackendMonitor\.(h|cpp)|LinuxAccessCheck\.h):'; then
    echo "check-layers: only app/main.cpp, DesktopProgram and the Linux adapters may include platform/" >&2
    status=1
fi
exit $status
