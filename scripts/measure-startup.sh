#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures Tintwell's start-up, from process start to the window being mapped under a
# virtual X display, against a floor program (an empty dialog of the same size and
# style), in paired runs with a 250-entry colour file. Prints each pair and the
# median ratio, and the peak memory of both.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-15}"
scripts/install-deps.sh
scripts/build.sh >/dev/null
build_dir="$(pwd)/${TINTWELL_BUILD_DIR:-build}"

work="$(mktemp -d)"
trap 'kill "${xvfb:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT
game="$work/Anarchy Online"
mkdir -p "$game/cd_image/gui/default"
{
    echo '<Root>'
    for i in $(seq 1 250); do
        printf '    <HTMLColor name="color_%03d" color="0x%06x" />\n' "$i" $((i * 65521 % 16777216))
    done
    echo '</Root>'
} >"$game/cd_image/gui/default/TextColors.xml"
cp resources/LICENSE.GPL resources/Tintwell.png resources/TextColors.orig "$work/" 2>/dev/null || true
printf '## Tintwell Configuration ##\nAODir = %s\nAdvancedMode = 0\nBGColor = black\n' "$game" \
    >"$work/Tintwell.cfg"

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY="$display" "$build_dir/bench/MeasureStartup" "$runs" "$work" "$build_dir/tintwell" \
    "$build_dir/bench/StartupFloor"
