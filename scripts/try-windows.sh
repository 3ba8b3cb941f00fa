#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the real tintwell.exe under Wine on a virtual X display, as a player on Windows
# would: a Tintwell.cfg naming the game folder as Z:\..., the window "Tintwell v0.3" at
# 360 x 430, Return saves (TextColors.xml keeps every pair, TextColors.xml.bak holds the
# previous file), Escape closes with status 0. Screenshots of every tab go to
# docs/screenshots/windows-*.png, or into $TINTWELL_SCREENSHOTS. Builds first when the
# program is missing.
#
#   scripts/try-windows.sh [BUILD_DIR]      (default: build-windows)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/virtual-display.sh
root="$(pwd)"
build_dir="$(realpath -m "${1:-${TINTWELL_WINDOWS_BUILD_DIR:-build-windows}}")"
exe="$build_dir/tintwell.exe"
out="$(realpath -m "${TINTWELL_SCREENSHOTS:-$root/docs/screenshots}")"

[ -f "$exe" ] || TINTWELL_WINDOWS_BUILD_DIR="$build_dir" scripts/build-windows.sh

scratch="$build_dir/try"
rm -rf "$scratch"
mkdir -p "$scratch"
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    WINEPREFIX="$build_dir/wine-desktop" wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

fail() {
    echo "try-windows: $*" >&2
    exit 1
}

# A prefix of its own with Wine's X11 driver (the tests' prefix has the null driver).
export WINEPREFIX="$build_dir/wine-desktop"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# A Wine server left from an earlier run would still draw on that run's display.
wineserver -k 2>/dev/null || true
[ -f "$WINEPREFIX/.tintwell-ready" ] || echo "Preparing the Wine prefix $WINEPREFIX"
scripts/wine-prefix.sh

# The display comes first: the first Wine program started (winepath, below) starts the
# prefix's desktop, and a desktop started without a display never shows a window.
start_virtual_display "$scratch"

game="$scratch/Anarchy Online"
work="$scratch/program"
colors="$game/cd_image/gui/default/TextColors.xml"
mkdir -p "$(dirname "$colors")" "$work"
cp "$root/resources/TextColors.orig" "$colors"
cp "$root/resources/TextColors.orig" "$root/resources/LICENSE.GPL" "$root/resources/Tintwell.png" \
    "$exe" "$work/"
# The folder in Windows' own form, as the folder question would store it.
game_windows="$(winepath -w "$game")"
[[ "$game_windows" == Z:\\* ]] || fail "unexpected Windows path $game_windows"

pairs() {
    grep -o '<HTMLColor [^>]*>' "$1" | sed -E 's/.*name="([^"]*)".*color="([^"]*)".*/\1=\2/'
}

write_cfg() {
    printf '## Tintwell Configuration ##\r\nAODir = %s\r\nAdvancedMode = %s\r\nBGColor = black\r\n' \
        "$game_windows" "$1" >"$work/Tintwell.cfg"
}

# Starts the program in its own folder and sets `window` to the id of its window.
start() {
    (cd "$work" && exec wine ./tintwell.exe) >"$scratch/run.log" 2>&1 &
    app_pid=$!
    window="$(wait_for_window)"
    [ -n "$window" ] || { cat "$scratch/run.log" >&2; fail "no window 'Tintwell v0.3'"; }
}

# Waits for the program to end and checks its status.
finish() {
    local status=0
    wait "$app_pid" || status=$?
    app_pid=""
    [ "$status" -eq 0 ] || fail "tintwell.exe ended with status $status"
}

shot() {
    sleep 1 # the first paint of a new tab
    import -window "$1" "$out/windows-$2.png"
    echo "Wrote $out/windows-$2.png"
}

mkdir -p "$out"

# Advanced mode first: one picture, then Escape.
write_cfg 1
start
xdotool windowfocus --sync "$window"
shot "$window" advanced
xdotool key --window "$window" Escape
finish

# Basic mode: the size, every tab, Save, Escape.
write_cfg 0
start
xdotool windowfocus --sync "$window"
read -r width height < <(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
echo "Window: ${width} x ${height}"
before="$scratch/before.xml"
cp "$colors" "$before"
shot "$window" basic
for tab in settings about license; do
    xdotool key --window "$window" ctrl+Tab
    shot "$window" "$tab"
done
xdotool key --window "$window" ctrl+Tab # back to the colours
sleep 0.5
xdotool key --window "$window" Return
for _ in $(seq 100); do
    [ -f "$colors.bak" ] && break
    sleep 0.1
done
[ -f "$colors.bak" ] || fail "Return did not save: no TextColors.xml.bak"
cmp -s "$before" "$colors.bak" || fail "TextColors.xml.bak differs from the file before the save"
[ "$(pairs "$before")" == "$(pairs "$colors")" ] || fail "the saved pairs differ from the loaded ones"
xdotool key --window "$window" Escape
finish
grep -q $'^AODir = .*\r$' "$work/Tintwell.cfg" || fail "Tintwell.cfg was not written with CR LF"
[ "$width" = 360 ] && [ "$height" = 430 ] || fail "window is ${width} x ${height}, not 360 x 430"
echo "tintwell.exe under Wine: window 360 x 430, saved with backup, closed with status 0"
