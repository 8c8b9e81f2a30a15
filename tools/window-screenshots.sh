#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pictures of the desktop program's own windows under Xvfb, without a tray (so that a second start
# opens the preferences): the preferences at twice the scale on a 1280x720 logical screen, the
# first-run guide and the preferences in German, and the permission prompt. Into
# docs/screenshots/ unless SHOTS_DIR is given. Needs xvfb, xdotool, imagemagick and the German
# locale's catalogues built into the program.
# Usage: tools/window-screenshots.sh [BUILD_DIR] [SHOTS_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build/dev}" && pwd)
orvane=$build/app/orvane
# The test shell: the program with access while a file exists, and no keyboard touched.
test_shell=$build/tests/app/orvane-test-shell
shots=${2:-$PWD/docs/screenshots}
mkdir -p "$shots"
script=window-screenshots
# shellcheck source=tools/lib/xvfb-session.sh
. tools/lib/xvfb-session.sh
run() { # a fresh user each time: NAME, then environment assignments; starts Orvane in the background
    local name=$1 program=$orvane; shift
    [[ " $* " == *" ORVANE_TEST_ACCESS_FILE="* ]] && program=$test_shell
    mkdir -p "$work/$name/home" "$work/$name/run"
    chmod 700 "$work/$name/run"
    env -i PATH="$PATH" DISPLAY="$DISPLAY" HOME="$work/$name/home" XDG_RUNTIME_DIR="$work/$name/run" \
        "$@" "$program" >>"$work/out-$name" 2>&1 &
    pids+=($!)
}

echo "1. The preferences at twice the scale on a 1280x720 logical screen (2560x1440)."
screen 2560x1440
touch "$work/access"
run scaled QT_SCALE_FACTOR=2 ORVANE_TEST_ACCESS_FILE="$work/access"
guide=$(window "Guide") || fail "no guide on the first run"
xdotool windowclose "$guide" 2>/dev/null || true
run scaled QT_SCALE_FACTOR=2 ORVANE_TEST_ACCESS_FILE="$work/access"
preferences=$(window "Preferences") || fail "a second start without a tray opened no preferences"
sleep 1
import -window root "$shots/app-preferences-1280x720@2x.png"

echo "2. The guide and the preferences in German (1280x800)."
screen 1280x800
run german LANG=de_DE.UTF-8 LANGUAGE=de ORVANE_TEST_ACCESS_FILE="$work/access"
guide=$(window "Orvane-Einf") || fail "no German guide"
sleep 1
import -window "$guide" "$shots/app-guide-de.png"
xdotool windowclose "$guide" 2>/dev/null || true
run german LANG=de_DE.UTF-8 LANGUAGE=de ORVANE_TEST_ACCESS_FILE="$work/access"
preferences=$(window "Einstellungen") || fail "no German preferences"
sleep 1
import -window "$preferences" "$shots/app-preferences-de.png"

echo "3. The permission prompt, after Copy Commands."
run prompt
prompt=$(window "needs access") || fail "no permission prompt"
sleep 1
xdotool key --window "$prompt" alt+c
sleep 0.5
import -window "$prompt" "$shots/app-prompt-copied.png"
echo "window-screenshots: pictures in $shots"
