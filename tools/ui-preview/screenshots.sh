#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Screenshots of the configuration interface under Xvfb, at 1x and 2x, into docs/screenshots/.
# Runs orvane-ui-preview over a throw-away settings folder with a few demo applications (icons
# from the Adwaita theme) pinned as KDE Plasma launchers, so the table shows applications.
# Usage: tools/ui-preview/screenshots.sh [build-dir]   (default build/dev)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/dev}
preview=$build/tools/ui-preview/orvane-ui-preview
orvanectl=$build/tools/orvanectl/orvanectl
out=docs/screenshots
mkdir -p "$out"

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share XDG_CURRENT_DESKTOP=KDE
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
app() { # id, name, icon
    printf '[Desktop Entry]\nType=Application\nName=%s\nIcon=%s\nExec=true\n' "$2" "$3" \
        > "$XDG_DATA_HOME/applications/$1.desktop"
}
app org.example.Files Files system-file-manager
app org.example.Web "Web Browser" web-browser
app org.example.Terminal Terminal utilities-terminal
app org.example.Editor "Text Editor" accessories-text-editor
app org.example.Calculator Calculator accessories-calculator
app org.example.Music Music multimedia-player
app org.example.Photos Photos camera-photo
app org.example.Help Help help-browser
printf '[Default Applications]\ninode/directory=org.example.Files.desktop\n' \
    > "$XDG_CONFIG_HOME/mimeapps.list"
cat > "$XDG_CONFIG_HOME/plasma-org.kde.plasma.desktop-appletsrc" <<'PANEL'
[Containments][1][Applets][2]
plugin=org.kde.plasma.icontasks

[Containments][1][Applets][2][Configuration][General]
launchers=applications:org.example.Web.desktop,applications:org.example.Terminal.desktop,applications:org.example.Editor.desktop,applications:org.example.Music.desktop
PANEL
# F3's long press as a shortcut, so the table shows a shortcut cell too: Meta+L, in the stored
# numbering of model/KeyEventNumbering.h (virtual key 37 is L, modifier bit 1048576 is command).
mapping=$("$orvanectl" settings get keyMapping | python3 -c '
import json, sys
m = json.load(sys.stdin)
m[2]["longPress"] = {"keyboardShortcut": {"shortcut": {"key": 37, "modifiers": 1048576},
                                          "description": "Lock screen"}}
print(json.dumps(m))')
"$orvanectl" settings set keyMapping "$mapping" > /dev/null

shoot() { # scale, view, name
    local scale=$1 view=$2 name=$3 display=:$((90 + RANDOM % 9))
    Xvfb "$display" -screen 0 $((1400 * scale))x$((1100 * scale))x24 -nolisten tcp &
    local xvfb=$!
    pids+=("$xvfb")
    sleep 1
    DISPLAY=$display QT_SCALE_FACTOR=$scale "$preview" "$view" &
    local viewer=$!
    pids+=("$viewer")
    sleep 3
    DISPLAY=$display import -window root "$work/shot.png"
    /usr/bin/convert "$work/shot.png" -trim +repage "$out/ui-$name@${scale}x.png"
    kill "$viewer" "$xvfb" 2>/dev/null || true
    wait "$viewer" "$xvfb" 2>/dev/null || true
    echo "$out/ui-$name@${scale}x.png"
}

for scale in 1 2; do
    shoot "$scale" preferences preferences
    shoot "$scale" picker picker
    shoot "$scale" shortcut shortcut-editor
    shoot "$scale" apps applications
    shoot "$scale" guide guide
done
