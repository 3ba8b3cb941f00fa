#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the real Tintwell window, once in basic and once in advanced mode, on the
# bundled demo colours under a virtual X display, into docs/screenshots/basic.png and
# docs/screenshots/advanced.png. Builds first when the program is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
build_dir="$tintwell_root/build"
out="$tintwell_root/docs/screenshots"

scripts/install-deps.sh
[ -x "$build_dir/tintwell" ] || build_preset default

scratch="$(mktemp -d)"
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

game="$scratch/Anarchy Online"
work="$scratch/work"
demo_game "$game" "$work"

start_virtual_display "$scratch"

# shot NAME ADVANCED: one start of the program with the given mode, one picture.
shot() {
    local name="$1" advanced="$2" window
    demo_preferences "$work" "$game" "$advanced"
    (cd "$work" && exec "$build_dir/tintwell") >"$scratch/$name.log" 2>&1 &
    app_pid=$!
    window="$(wait_for_window)"
    [ -n "$window" ] || { cat "$scratch/$name.log" >&2; exit 1; }
    sleep 1 # let the first paint finish
    import -window "$window" "$out/$name.png"
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
    echo "Wrote $out/$name.png"
}

mkdir -p "$out"
shot basic 0
shot advanced 1
