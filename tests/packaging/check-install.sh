#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a staging folder and checks what a distribution needs: the
# command, the program, the companions, a valid desktop entry and AppStream data,
# hicolor icons and the manual page, each naming the project's version; then starts
# the installed launcher once, and uninstalls again.
# usage: check-install.sh BUILD_DIR VERSION
set -euo pipefail
build="$1"
version="$2"
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
metainfo="$usr/share/metainfo/org.tintwell.Tintwell.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >/dev/null || appstreamcli validate --no-net "$metainfo"

# One version everywhere: changelog, AppStream release, manual page, --version (which
# needs no display).
v="${version//./\\.}"
changelog="$(zcat "$usr/share/doc/tintwell/changelog.Debian.gz")"
manual="$(zcat "$usr/share/man/man1/tintwell.1.gz")"
[[ "${changelog%%$'\n'*}" =~ ^tintwell\ \($v-1\)\  ]] ||
    { echo "the changelog's top entry is not $version"; exit 1; }
grep -q "<release version=\"$v\" date=\"[0-9-]*\">" "$metainfo" ||
    { echo "the AppStream release is not $version"; exit 1; }
grep -q '^\.SH FILES' <<<"$manual" || { echo "the manual page has no FILES"; exit 1; }
grep -q "^\.TH TINTWELL 1 \"[A-Z][a-z]* [0-9]*\" \"Tintwell $v\"" <<<"$manual" ||
    { echo "the manual page is not of $version"; exit 1; }
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$usr/libexec/tintwell/tintwell" --version)" = "Tintwell $version" ] ||
    { echo "tintwell --version does not say $version without a display"; exit 1; }

# The launcher fills a per-user working folder and starts the program there; with no
# preferences the program asks for the game folder, so it is stopped after a moment.
export XDG_CONFIG_HOME="$stage/config" HOME="$stage/home" QT_QPA_PLATFORM=offscreen
timeout 5 "$usr/bin/tintwell" >/dev/null 2>&1 || true
for companion in LICENSE.GPL Tintwell.png TextColors.orig; do
    cmp -s "$usr/share/tintwell/$companion" "$XDG_CONFIG_HOME/tintwell/$companion" ||
        { echo "launcher did not provide $companion"; exit 1; }
done

# What was installed can be removed again, every file and Tintwell's own folders.
DESTDIR="$stage" cmake --build "$build" --target uninstall >/dev/null
left="$(find "$usr" -type f -o -type l -o -type d -name tintwell)"
[ -z "$left" ] || { echo "left after uninstalling: $left"; exit 1; }
echo "install checked"
