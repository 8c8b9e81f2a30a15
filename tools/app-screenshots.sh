#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the desktop program as a new user would, under Xvfb with the trayer tray and a fresh HOME,
# checks the first-run path end to end and takes the screenshots (docs/screenshots/app-*.png unless
# SHOTS_DIR is given; the gui test gives a temporary one). Needs xvfb, trayer, xdotool and
# imagemagick. Usage: tools/app-screenshots.sh [BUILD_DIR] [SHOTS_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build/dev}" && pwd)
orvane=$build/app/orvane
test_shell=$build/tests/app/orvane-test-shell # orvane with a stand-in for keyboard access
shots=${2:-$PWD/docs/screenshots}
for tool in Xvfb trayer xdotool import /usr/bin/convert /usr/bin/display dbus-daemon; do
    command -v "$tool" >/dev/null || { echo "app-screenshots: $tool is missing (tools/install-deps.sh)" >&2; exit 1; }
done
script=app-screenshots
# shellcheck source=tools/lib/xvfb-session.sh
. tools/lib/xvfb-session.sh
screen 1280x800
display=$DISPLAY
# A desktop-like backdrop, so that the pictures show the tray as on a panel.
/usr/bin/convert -size 1280x800 gradient:'#6b7f95-#2d3a48' "$work/backdrop.png"
/usr/bin/display -window root "$work/backdrop.png" || true # sets it, then reports 1
trayer --edge top --align right --widthtype request --height 24 --tint 0x2a2a2a \
    --transparent true --alpha 0 >/dev/null 2>&1 & pids+=($!)
sleep 1
mkdir -p "$work/home" "$work/run" "$work/run-nobus" "$shots"
chmod 700 "$work/run" "$work/run-nobus"
# A fresh user's session: a home, a runtime folder, the display and a session bus at
# $XDG_RUNTIME_DIR/bus, where systemd's user session puts it. Nothing on the bus hosts
# StatusNotifierItems, so the tray is the X11 one that trayer hosts.
bus="unix:path=$work/run/bus"
dbus-daemon --session --address="$bus" --nofork --nopidfile --print-address=1 >"$work/bus" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/bus" ] && break; sleep 0.1; done
[ -S "$work/run/bus" ] || fail "the session bus did not start"
start() {
    env -i PATH="$PATH" DISPLAY="$display" HOME="$work/home" XDG_RUNTIME_DIR="$work/run" \
        DBUS_SESSION_BUS_ADDRESS="$bus" "$@"
}
# A bare X session or a kiosk has no session bus at all. libdbus then tries to start one with
# dbus-launch; where that is not installed, libdbus 1.14 leaks the text it read from dbus-launch's
# error pipe (tests/lsan-libdbus.supp says where), which the slow unwinder lets LeakSanitizer name.
start_without_bus() {
    env -i PATH="$PATH" DISPLAY="$display" HOME="$work/home" XDG_RUNTIME_DIR="$work/run-nobus" \
        LSAN_OPTIONS="suppressions=$PWD/tests/lsan-libdbus.supp:fast_unwind_on_malloc=0" "$@"
}

quit_from_prompt() { # $1: how to start, $2: what the run is called, $3: the prompt's title
    local title=${3:-needs access}
    "$1" "$orvane" >"$work/out-$2" 2>&1 & first=$!; pids+=($first)
    prompt=$(window "$title") || fail "$2: no permission prompt titled '$title'"
    sleep 2
    kill -0 $first 2>/dev/null || fail "$2: gave up waiting"
    [ -f "$shots/app-prompt.png" ] || import -window "$prompt" "$shots/app-prompt.png"
    eval "$(xdotool getwindowgeometry --shell "$prompt")"
    xdotool mousemove --window "$prompt" $((WIDTH - 50)) $((HEIGHT - 20)) click 1
    wait $first || fail "$2: Quit in the prompt did not exit 0"
    gone "$title" || fail "$2: the prompt stayed after Quit"
}
rm -f "$shots/app-prompt.png"
echo "1. Without access (no /dev/uinput here): the prompt shows and waits; its Quit ends with 0,"
echo "   in a session with a bus, in one without, and in German."
quit_from_prompt start with-bus
quit_from_prompt start_without_bus without-bus
# A German session: the program's catalogue is loaded for the whole run, not only at start-up.
start_in_german() { start LANG=de_DE.UTF-8 LANGUAGE=de "$@"; }
quit_from_prompt start_in_german german "braucht Zugriff"

echo "2. The stand-in access appears while the prompt waits: tray icon, guide on the first run."
start ORVANE_TEST_ACCESS_FILE="$work/access" "$test_shell" >"$work/out2" 2>&1 & first=$!; pids+=($first)
window "needs access" >/dev/null || fail "no permission prompt"
touch "$work/access"
gone "needs access" || fail "the prompt did not close once access appeared"
guide=$(window "Orvane Guide") || fail "no guide on the first run"
grep -q -- "---- first time run" "$work/out2" || fail "no first-run line"
sleep 0.5
import -window "$guide" "$shots/app-guide.png"
xdotool windowclose "$guide" 2>/dev/null || xdotool windowunmap "$guide"
sleep 0.5

echo "3. The tray menu, then About from it."
# Without a StatusNotifierItem host the X11 tray icon comes a few seconds after start-up
# (TrayHostWatcher's fallback): the program's only small window, embedded by trayer.
tray_icon() {
    for _ in $(seq 150); do
        for id in $(xdotool search --class '^orvane$' 2>/dev/null); do
            eval "$(xdotool getwindowgeometry --shell "$id")"
            # small, and inside trayer's panel at the top right: embedded, not only made
            ((WIDTH <= 32 && HEIGHT <= 32 && X >= 1000 && Y < 24)) && return 0
        done
        sleep 0.1
    done
    return 1
}
tray_icon || fail "no tray icon in the tray"
xdotool mousemove 1268 12 click 3
sleep 0.7
import -window root -crop 420x170+860+0 "$shots/app-tray-menu.png"
xdotool key Down Down Return
about=$(window "About Orvane") || fail "About did not open from the menu"
sleep 0.5
import -window "$about" "$shots/app-about.png"

echo "3b. Preferences from the menu hold the configuration views."
xdotool mousemove 1268 12 click 3
sleep 0.7
xdotool key Down Return
preferences=$(window "Orvane Preferences") || fail "Preferences did not open from the menu"
grep -q "Show preferences" "$work/out2" || fail "no Show preferences line"
sleep 0.5
import -window "$preferences" "$shots/app-preferences.png"

echo "4. A second start reaches the first and ends with 0."
start "$orvane" >"$work/out3" 2>&1 || fail "the second start did not exit 0"
sleep 0.5
grep -q "App reopen" "$work/out2" || fail "the first did not print App reopen"

echo "5. Quit from the menu ends with 0."
xdotool mousemove 1268 12 click 3
sleep 0.7
xdotool key Up Return
wait $first || fail "Quit from the menu did not exit 0"
echo "--- standard output of the first-run instance:"
cat "$work/out2"
echo "app-screenshots: all steps passed; pictures in $shots"
