#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds, and opens Tintwell on a demo game folder made fresh in the build
# tree, so the real window can be tried without the game.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
scripts/install-deps.sh
build_preset default

demo="$tintwell_root/build/demo"
game="$demo/Anarchy Online"
work="$demo/work"
rm -rf "$demo"
demo_game "$game" "$work"
demo_preferences "$work" "$game" 0

echo "Demo game folder: $game"
cd "$work"
exec "$tintwell_root/build/tintwell" "$@"
