# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the scripts that drive the desktop program under Xvfb (sourced, not run): a working
# folder cleaned up at exit, the processes to end, failures that show the program's output, a
# virtual screen, and waits for windows. The sourcing script sets `script` (its name for messages)
# first, and writes the program's output to "$work"/out*.

work=$(mktemp -d)
pids=()
cleanup() { # the programs end before their folders go, so that none writes into a folder going
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "$script: $*" >&2
    for out in "$work"/out*; do [ -f "$out" ] && { echo "--- $out:"; cat "$out"; }; done >&2
    exit 1
}

# WIDTHxHEIGHT: starts an X server of that size and sets DISPLAY. Xvfb picks a free display
# itself, so that runs side by side do not meet.
screen() {
    rm -f "$work/display"
    Xvfb -displayfd 9 -screen 0 "$1x24" -nolisten tcp 9>"$work/display" >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || fail "Xvfb did not start"
    export DISPLAY=:$(head -1 "$work/display")
}

# Waits up to 8 s for a visible window whose name matches $1, prints its id.
window() {
    for _ in $(seq 80); do
        if id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) && [ -n "$id" ]; then
            echo "$id"; return 0
        fi
        sleep 0.1
    done
    return 1
}

# Waits up to 5 s for the window named $1 to go.
gone() {
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}
