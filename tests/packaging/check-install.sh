#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a staging folder and checks what a distribution needs: the
# command, the program, the companions, a valid desktop entry and AppStream data,
# hicolor icons and the manual page; then starts the installed launcher once.
# usage: check-install.sh BUILD_DIR
set -euo pipefail
build="$1"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
usr="$stage/usr"
for file in bin/tintwell libexec/tintwell/tintwell share/tintwell/LICENSE.GPL \
    share/tintwell/Tintwell.png share/tintwell/TextColors.orig \
    share/applications/org.tintwell.Tintwell.desktop \
    share/metainfo/org.tintwell.Tintwell.metainfo.xml \
    share/icons/hicolor/16x16/apps/org.tintwell.Tintwell.png \
    share/icons/hicolor/256x256/apps/org.tintwell.Tintwell.png \
    share/icons/hicolor/scalable/apps/org.tintwell.Tintwell.svg \
    share/man/man1/tintwell.1.gz share/doc/tintwell/copyright; do
    [ -e "$usr/$file" ] || { echo "missing: usr/$file"; exit 1; }
done
desktop-file-validate "$usr/share/applications/org.tintwell.Tintwell.desktop"
appstreamcli validate --no-net "$usr/share/metainfo/org.tintwell.Tintwell.metainfo.xml" >/dev/null
zcat "$usr/share/man/man1/tintwell.1.gz" | grep -q '^\.SH FILES'

# The launcher fills a per-user working folder and starts the program there; with no
# preferences the program asks for the game folder, so it is stopped after a moment.
export XDG_CONFIG_HOME="$stage/config" HOME="$stage/home" QT_QPA_PLATFORM=offscreen
timeout 5 "$usr/bin/tintwell" >/dev/null 2>&1 || true
for companion in LICENSE.GPL Tintwell.png TextColors.orig; do
    cmp -s "$usr/share/tintwell/$companion" "$XDG_CONFIG_HOME/tintwell/$companion" ||
        { echo "launcher did not provide $companion"; exit 1; }
done
echo "install checked"
