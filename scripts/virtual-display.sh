# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that run the real program on a virtual X display.

# start_virtual_display DIR: starts Xvfb on a free display (Xvfb picks it and reports
# its number on the given descriptor), exports DISPLAY and sets xvfb_pid. DIR keeps
# the display number and Xvfb's log.
start_virtual_display() {
    local dir="$1"
    Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$dir/display" ] && break
        sleep 0.1
    done
    [ -s "$dir/display" ] || { cat "$dir/xvfb.log" >&2; return 1; }
    export DISPLAY=":$(cat "$dir/display")"
}

# wait_for_window: prints the id of the visible window "Tintwell v0.3" once it is
# there, or nothing after a minute. Polled: xdotool's own --sync can miss a window
# mapped while it starts up.
wait_for_window() {
    local window=""
    for _ in $(seq 120); do
        window="$(xdotool search --onlyvisible --name '^Tintwell v0\.3$' 2>/dev/null | head -n 1)" || true
        [ -n "$window" ] && break
        sleep 0.5
    done
    echo "$window"
}
