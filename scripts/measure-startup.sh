#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures Tintwell's start-up, from process start to the window being mapped under a
# virtual X display at 96 dpi, against a floor program (an empty dialog of the same
# size and style), in paired runs, one after the other. Prints each pair, the median
# ratio with the pairs' spread, and the peak memory of both.
#
#   scripts/measure-startup.sh [PAIRS] [--advanced] [--game] [--entries N]
#
#   PAIRS         runs of each program (default 15)
#   --advanced    the window opens on the advanced page
#   --game        the colour file is the bundled game file, resources/TextColors.orig
#   --entries N   N generated entries, each a different colour (default 250, or none
#                 with --game, which they are then added to)
#
# e.g. scripts/measure-startup.sh 21 --advanced --game --entries 200
#      scripts/measure-startup.sh 5 --entries 200000
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

runs=15
mode=0
game=0
entries=""
while [ $# -gt 0 ]; do
    case "$1" in
    --advanced) mode=1 ;;
    --game) game=1 ;;
    --entries)
        entries="$2"
        shift
        ;;
    [0-9]*) runs="$1" ;;
    *)
        echo "measure-startup.sh: unknown argument '$1'" >&2
        exit 2
        ;;
    esac
    shift
done
[ -n "$entries" ] || entries=$((game ? 0 : 250))

scripts/install-deps.sh
build_preset default >/dev/null
build_dir="$tintwell_root/build"

work="$(mktemp -d)"
xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
folder="$work/Anarchy Online"
colors="$folder/cd_image/gui/default/TextColors.xml"
demo_game "$folder" "$work"
"$build_dir/bench/ColorFileBench" --write "$entries" "$work/generated.xml"
if [ "$game" -eq 1 ]; then
    # The game's file with the generated entries added before its end.
    {
        sed '/<\/Root>/d' resources/TextColors.orig
        grep '<HTMLColor' "$work/generated.xml" || true
        echo '</Root>'
    } >"$colors"
else
    cp "$work/generated.xml" "$colors"
fi
echo "$(grep -c '<HTMLColor' "$colors") entries, $(stat -c %s "$colors") bytes," \
    "$([ "$mode" -eq 1 ] && echo advanced || echo basic) mode"
demo_preferences "$work" "$folder" "$mode"

start_virtual_display "$work" -dpi 96
"$build_dir/bench/MeasureStartup" "$runs" "$work" "$build_dir/tintwell" \
    "$build_dir/bench/StartupFloor"
