#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the installed launcher against fake homes: where its working folder lives, the
# move of an old one, refreshed and writable companions, and a failure that is shown
# in a dialog as well as on standard error.
# usage: test-launcher.sh SOURCE_DIR
set -euo pipefail
source_dir="$1"
scratch="$(mktemp -d)"
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
# Whatever a relative folder name makes lands in the scratch folder.
cd "$scratch"

# A fake install: the launcher, read-only companions, and a program that records the
# folder it was started in and its arguments.
prefix="$scratch/usr"
mkdir -p "$prefix/bin" "$prefix/share/tintwell" "$prefix/libexec/tintwell" "$scratch/tools"
sed -e 's|@CMAKE_INSTALL_DATADIR@|share|' -e 's|@CMAKE_INSTALL_LIBEXECDIR@|libexec|' \
    "$source_dir/packaging/tintwell.in" >"$prefix/bin/tintwell"
chmod 755 "$prefix/bin/tintwell"
cat >"$prefix/libexec/tintwell/tintwell" <<'EOF'
#!/bin/sh
echo "$PWD $*" >"$RECORD"
EOF
chmod 755 "$prefix/libexec/tintwell/tintwell"
install_companions() {
    for companion in LICENSE.GPL Tintwell.png TextColors.orig; do
        rm -f "$prefix/share/tintwell/$companion"
        echo "$companion $1" >"$prefix/share/tintwell/$companion"
        chmod 444 "$prefix/share/tintwell/$companion"
    done
}
install_companions 1
# The dialog tools the launcher may use; zenity records what it was asked to show.
cat >"$scratch/tools/zenity" <<'EOF'
#!/bin/sh
echo "$*" >"$DIALOG_RECORD"
EOF
chmod 755 "$scratch/tools/zenity"

failures=0
# By mode, since root may write any file.
owner_writable() { [ -n "$(find "$1" -perm -u+w)" ]; }
check() { # check DESCRIPTION COMMAND...
    local what="$1"
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

# run HOME [VAR=VALUE...]: the launcher in a clean environment of a fresh user.
run() {
    local home="$1"
    shift
    env -i PATH="$scratch/tools:/usr/bin:/bin" HOME="$home" RECORD="$scratch/record" \
        DIALOG_RECORD="$scratch/dialog" "$@" "$prefix/bin/tintwell" --some-argument \
        >"$scratch/out" 2>"$scratch/err"
}

# A new user: the folder is made under ~/.config and filled with writable copies.
home="$scratch/new"
mkdir -p "$home"
check "a new user's launch succeeds" run "$home"
work="$home/.config/tintwell"
check "the program starts in ~/.config/tintwell with its arguments" \
    grep -qx "$work --some-argument" "$scratch/record"
for companion in LICENSE.GPL Tintwell.png TextColors.orig; do
    check "$companion is copied" cmp -s "$prefix/share/tintwell/$companion" "$work/$companion"
    check "$companion is writable" owner_writable "$work/$companion"
done

# An upgrade brings new companions: the copies follow; the preferences stay.
echo "AODir = /games/AO" >"$work/Tintwell.cfg"
install_companions 2
check "the launch after an upgrade succeeds" run "$home"
check "companions follow the installed ones" grep -qx "TextColors.orig 2" "$work/TextColors.orig"
check "the preferences are kept" grep -qx "AODir = /games/AO" "$work/Tintwell.cfg"

# XDG_CONFIG_HOME is honoured, unless it is relative, which the XDG rules ignore.
check "a launch with XDG_CONFIG_HOME succeeds" run "$home" XDG_CONFIG_HOME="$scratch/elsewhere"
check "the folder lives under XDG_CONFIG_HOME" \
    grep -q "^$scratch/elsewhere/tintwell " "$scratch/record"
check "a launch with a relative XDG_CONFIG_HOME succeeds" run "$home" XDG_CONFIG_HOME=relative
check "a relative XDG_CONFIG_HOME is ignored" grep -q "^$work " "$scratch/record"

# A user of an earlier version: the old folder under XDG_DATA_HOME moves, whole.
home="$scratch/old"
mkdir -p "$home/data/tintwell"
echo "AODir = /old/AO" >"$home/data/tintwell/Tintwell.cfg"
echo "TextColors.orig 1" >"$home/data/tintwell/TextColors.orig"
chmod 444 "$home/data/tintwell/TextColors.orig"
check "an old user's launch succeeds" run "$home" XDG_DATA_HOME="$home/data"
check "the old preferences moved" grep -qx "AODir = /old/AO" "$home/.config/tintwell/Tintwell.cfg"
check "the old folder is gone" test ! -e "$home/data/tintwell"
check "a read-only old copy is replaced by a writable one" \
    owner_writable "$home/.config/tintwell/TextColors.orig"

# Both folders: the new one is used, the old one left as it is.
mkdir -p "$home/data/tintwell"
echo "AODir = /older/AO" >"$home/data/tintwell/Tintwell.cfg"
check "a launch with both folders succeeds" run "$home" XDG_DATA_HOME="$home/data"
check "the new preferences stay" grep -qx "AODir = /old/AO" "$home/.config/tintwell/Tintwell.cfg"
check "the old folder stays" grep -qx "AODir = /older/AO" "$home/data/tintwell/Tintwell.cfg"

# No folder can be made (a file stands where it should go): the program does not
# start, and the reason is shown.
home="$scratch/blocked"
mkdir -p "$home"
touch "$home/config"
rm -f "$scratch/record" "$scratch/dialog"
if run "$home" XDG_CONFIG_HOME="$home/config" DISPLAY=:99; then status=0; else status=$?; fi
check "a launch without a folder fails" test "$status" != 0
check "the program was not started" test ! -e "$scratch/record"
check "the reason goes to standard error" \
    grep -q "cannot start.*$home/config/tintwell: Not a directory\.$" "$scratch/err"
check "the reason is shown in a dialog" grep -q "cannot start.*$home/config/tintwell" "$scratch/dialog"
check "the dialog is an error" grep -q -- "--error" "$scratch/dialog"

[ "$failures" = 0 ] || { echo "$failures launcher checks failed"; exit 1; }
echo "launcher checked"
