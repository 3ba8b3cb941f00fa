#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes (once) the Wine prefix $WINEPREFIX that Tintwell's Windows runs use.
#
#   scripts/wine-prefix.sh [null]     with "null": Wine's null graphics driver, for
#                                     programs that draw offscreen and need no X display
#
# Debian's Wine keeps its own fonts (Tahoma, the font Windows' dialog font stands for)
# in /usr/share/wine/fonts, where its GDI does not look, so a new prefix knows only the
# host's fonts. They are copied into the prefix's Fonts folder, so that programs render
# as on Windows. Prefixes made earlier get them on their next use.
#
# Wine's menu builder would copy every shortcut an installer makes in a prefix into the
# menus of whoever runs the tests ($HOME/.local/share/applications and icons): it is
# switched off while the prefix is made, and for good in the prefix's own registry.
set -eu
: "${WINEPREFIX:?WINEPREFIX must name the prefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
case "$WINEDLLOVERRIDES" in
*winemenubuilder.exe=d*) ;;
*) WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d" ;;
esac
wine="${TINTWELL_WINE:-wine}"

if [ ! -f "$WINEPREFIX/.tintwell-ready" ]; then
    mkdir -p "$WINEPREFIX"
    "$wine" wineboot -i >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f >/dev/null 2>&1
    if [ "${1:-}" = null ]; then
        "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    fi
    wineserver -w
    touch "$WINEPREFIX/.tintwell-ready"
fi
fonts="$WINEPREFIX/drive_c/windows/Fonts"
for font in /usr/share/wine/fonts/*.ttf; do
    [ -f "$font" ] || continue
    [ -f "$fonts/${font##*/}" ] || cp "$font" "$fonts/"
done
