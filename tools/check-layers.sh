#!/usr/bin/env bash
# Fails when a layer includes a layer above it, or when the portable core reaches for Qt or
# the operating system. Layers, lowest first: model, engine, platform/linux, ui, app. platform/linux
# is a base and two rooms beside each other: input/ (evdev, udev) and desktop/ (GLib/GIO, X11).
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
if grep -nE '#include [<"](platform/linux/(input|desktop)/|libevdev|libudev|gio/|glib|xkbcommon|xcb/)' \
    platform/linux/*.h platform/linux/*.cpp; then
    echo "check-layers: platform/linux/ (the base) must not include a room or its libraries" >&2
    status=1
fi
check platform/linux/input 'platform/linux/desktop/|(\.\./)+desktop/' 'gio/|glib|gobject|xkbcommon|xcb/'
check platform/linux/desktop 'platform/linux/input/|(\.\./)+input/' 'libevdev|libudev'
# The views reach the desktop only through the interfaces in ui/ViewServices.h: no Linux headers.
check ui 'app/' 'platform/' 'sys/|linux/|unistd\.h|fcntl\.h|libevdev|libudev|xkbcommon|gio/|glib'
# The shell library (app/) stays on Qt, the model and the engine: main.cpp and the Linux adapters
# beside it are the one place that wires platform/linux in.
if [ -d app ] && grep -nE '#include [<"]platform/' app/*.h app/*.cpp |
    grep -vE '^app/(main\.cpp|InputBackendMonitor\.(h|cpp)|LinuxAccessCheck\.h):'; then
    echo "check-layers: only app/main.cpp and its Linux adapters may include platform/" >&2
    status=1
fi
exit $status
