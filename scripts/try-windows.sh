#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the real tintwell.exe under Wine on a virtual X display, as a player on Windows
# would: a Tintwell.cfg naming the game folder as Z:\..., the window "Tintwell v0.3" (the
# project's version) at
# 360 x 430, Return saves (TextColors.xml keeps every pair, TextColors.xml.bak holds the
# previous file), Escape closes with status 0. Screenshots of every tab go to
# docs/screenshots/windows-*.png, or into $TINTWELL_SCREENSHOTS. Builds first
# (scripts/build-windows.sh) when build-windows/tintwell.exe is missing.
#
# Given the installer CPack made, it then installs Tintwell as a player would, in a
# fresh Wine prefix (see try_installer below).
#
#   scripts/try-windows.sh [INSTALLER]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
root="$tintwell_root"
build_dir="$root/build-windows"
installer="${1:+$(realpath "$1")}"
exe="$build_dir/tintwell.exe"
out="$(realpath -m "${TINTWELL_SCREENSHOTS:-$root/docs/screenshots}")"

[ -f "$exe" ] || scripts/build-windows.sh

scratch="$build_dir/try"
rm -rf "$scratch"
mkdir -p "$scratch"
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

# A failure names what was on the screen and what the program printed, so that a step
# that failed once in CI can be told from the log alone.
fail() {
    echo "try-windows: $*" >&2
    if [ -n "$xvfb_pid" ]; then
        echo "Windows on the screen:" >&2
        xdotool search --onlyvisible --name '.' getwindowname %@ 2>/dev/null | sed 's/^/  /' >&2 || true
    fi
    [ -s "$scratch/run.log" ] && { echo "The program printed:" >&2; tail -n 20 "$scratch/run.log" >&2; }
    exit 1
}

# press_until WINDOW KEY CHECK...: gives WINDOW the keyboard and presses KEY until the
# command CHECK succeeds, for up to a minute. A window Wine has only just mapped can
# drop a key (or refuse the focus); its effect, not the key, says the step is done.
press_until() {
    local window="$1" key="$2"
    shift 2
    for _ in $(seq 30); do
        xdotool windowfocus --sync "$window" key --window "$window" "$key" 2>/dev/null || true
        for _ in $(seq 20); do
            "$@" && return 0
            sleep 0.1
        done
    done
    return 1
}

# shown [PATTERN]: whether a visible window's name matches PATTERN (default: the
# window's title, exactly).
shown() {
    xdotool search --onlyvisible --name "${1:-$tintwell_title_pattern}" >/dev/null 2>&1
}
closed() { ! shown "$@"; }

# A prefix of its own with Wine's X11 driver (the tests' prefix has the null driver).
export WINEPREFIX="$build_dir/wine-desktop"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
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
demo_game "$game" "$work"
cp "$exe" "$work/"
# The folder in Windows' own form, as the folder question would store it.
game_windows="$(winepath -w "$game")"
[[ "$game_windows" == Z:\\* ]] || fail "unexpected Windows path $game_windows"

pairs() {
    grep -o '<HTMLColor [^>]*>' "$1" | sed -E 's/.*name="([^"]*)".*color="([^"]*)".*/\1=\2/'
}

# Starts the program in its own folder and sets `window` to the id of its window.
start() {
    (cd "$work" && exec wine ./tintwell.exe) >"$scratch/run.log" 2>&1 &
    app_pid=$!
    window="$(wait_for_window)"
    [ -n "$window" ] || { cat "$scratch/run.log" >&2; fail "no window '$tintwell_title'"; }
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
demo_preferences "$work" "$game_windows" 1 crlf
start
xdotool windowfocus --sync "$window"
shot "$window" advanced
xdotool key --window "$window" Escape
finish

# Basic mode: the size, every tab, Save, Escape.
demo_preferences "$work" "$game_windows" 0 crlf
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

[ -n "$installer" ] || exit 0

# The player's install, in a fresh prefix: an older release installed first (made from
# this installer's own script with an older version number); the game, in a folder
# whose name code page 1252 cannot hold, known only from a quoted InstallLocation in
# the 32-bit registry view, as its own installer writes it. Started from the
# Start-menu shortcut, the first start's folder question opens on the game and Return
# takes it; Return saves with a backup. The second start, at 192 dpi on the 800 x 600
# screen, asks nothing and keeps the window's top on the screen. With Tintwell open,
# this installer refuses the upgrade (silent: status 2; interactive: it asks, and
# Cancel gives status 2) and the old install stays whole. Closed, it upgrades the
# older one and keeps Tintwell.cfg; its uninstaller removes all it put there: of every
# HKCU key and file the prefix did not hold before, only Tintwell.cfg is left. Wine reports success even for
# programs that never ran, so each step is judged by what it left.
try_installer() {
    wineserver -k 2>/dev/null || true
    export WINEPREFIX="$build_dir/wine-install" LC_ALL=C.UTF-8
    rm -rf "$WINEPREFIX"
    scripts/wine-prefix.sh

    local nsis="$(dirname "$installer")/_CPack_Packages/win64/NSIS" older="$scratch/older-setup.exe"
    sed -e 's/^\( *!define VERSION \)".*"/\1"0.1"/' -e 's/"Tintwell [0-9.]*"/"Tintwell 0.1"/' \
        -e "s|^\\( *OutFile \\).*|\\1\"$older\"|" "$nsis/project.nsi" >"$scratch/older.nsi"
    makensis -V1 "$scratch/older.nsi" >/dev/null

    windows_var() { winepath -u "$(wine cmd /c "echo %$1%" | tr -d '\r')"; }
    local programs shortcut key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tintwell'
    programs="$(windows_var LOCALAPPDATA)/Programs/Tintwell"
    shortcut="$(windows_var APPDATA)/Microsoft/Windows/Start Menu/Programs/Tintwell.lnk"
    version() { wine reg query "$key" /v DisplayVersion 2>/dev/null | tr -d '\r' | awk '/DisplayVersion/ {print $3}'; }

    # What the prefix holds before anything is installed: every HKCU key and file.
    keys() { wine reg export HKCU "$(winepath -w "$scratch/hkcu.reg")" /y >/dev/null 2>&1 &&
        iconv -f UTF-16 -t UTF-8 "$scratch/hkcu.reg" | tr -d '\r' | grep '^\[' | sort; }
    files() { (cd "$WINEPREFIX/drive_c" && find . -type f | sort); }
    local keys_before files_before
    keys_before="$(keys)"
    files_before="$(files)"

    wine "$older" /S && wineserver -w
    [ -f "$programs/tintwell.exe" ] && [ -f "$shortcut" ] && [ "$(version)" = 0.1 ] ||
        fail "the older release did not install into $programs"

    local game="$scratch/Игры/Anarchy Online"
    local colors="$game/cd_image/gui/default/TextColors.xml"
    demo_game "$game"
    local ao='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Anarchy Online'
    wine reg add "$ao" /v DisplayName /d "Anarchy Online" /f /reg:32 >/dev/null
    wine reg add "$ao" /v InstallLocation /d "\"$(winepath -w "$game")\"" /f /reg:32 >/dev/null

    # First start: the folder question, Return, the window, Return saves, Escape.
    # Started through a shortcut, the program is no child to wait for: the end of the
    # prefix's Wine server says it has ended.
    wine start /unix "$shortcut" >"$scratch/run.log" 2>&1
    window="$(wait_for_window '^Select the folder where Anarchy Online')"
    [ -n "$window" ] || fail "the first start from the shortcut asked no folder question"
    press_until "$window" Return shown ||
        fail "Return in the folder question did not open the window on the game"
    window="$(wait_for_window)"
    press_until "$window" Return test -f "$colors.bak" && [ -f "$colors.orig" ] ||
        fail "no backup or first-start copy in $game"
    press_until "$window" Escape closed || fail "Escape did not close the window"
    wineserver -w
    local cfg="$programs/Tintwell.cfg"
    [ "$(head -c 3 "$cfg" 2>/dev/null | od -An -tx1 | tr -d ' ')" = efbbbf ] &&
        grep -q "^AODir = .*Игры" "$cfg" ||
        fail "Tintwell.cfg in $programs lacks the game folder in UTF-8 with a byte-order mark"
    cp "$cfg" "$scratch/Tintwell.cfg.kept"

    # Second start at 192 dpi: no question, the window's top on the screen.
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null
    wine start /unix "$shortcut" >"$scratch/run.log" 2>&1
    window="$(wait_for_window "$tintwell_title_pattern" '^Select the folder')"
    [ -n "$window" ] && [ "$(xdotool getwindowname "$window")" = "$tintwell_title" ] ||
        fail "the second start did not open the window straight away"
    local x y w h
    read -r x y w h < <(xwininfo -id "$window" |
        awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
    echo "At 192 dpi: window ${w} x ${h} at ${x},${y}"
    [ "$h" -gt 600 ] || fail "at 192 dpi the window is ${w} x ${h}: not scaled"
    [ "$x" -ge 0 ] && [ "$y" -ge 0 ] || fail "at 192 dpi the window starts at $x,$y, off the screen"
    press_until "$window" Escape closed || fail "Escape did not close the window at 192 dpi"
    wineserver -w

    # The upgrade while Tintwell runs: silent, it ends with status 2 and leaves the old
    # install whole; interactive, it asks (Retry/Cancel), and Cancel does the same.
    local installed status
    installed="$(cd "$programs" && find . -type f -exec sha256sum {} + | sort)"
    wine start /unix "$shortcut" >"$scratch/run.log" 2>&1
    window="$(wait_for_window "$tintwell_title_pattern")"
    [ -n "$window" ] || fail "Tintwell did not start for the upgrade while it runs"
    status=0
    wine "$installer" /S || status=$?
    [ "$status" -eq 2 ] || fail "the silent upgrade while Tintwell runs ended with status $status, not 2"
    wine "$installer" >"$scratch/setup.log" 2>&1 &
    local setup=$! box
    box="$(wait_for_window '^Tintwell [0-9.]* Setup$')"
    [ -n "$box" ] && xdotool search --onlyvisible --name '^Tintwell [0-9.]* Setup$' >/dev/null ||
        fail "the interactive upgrade while Tintwell runs did not ask to close it"
    press_until "$box" Escape closed '^Tintwell [0-9.]* Setup$' ||
        fail "Escape did not cancel the interactive upgrade's question"
    status=0
    wait "$setup" || status=$?
    [ "$status" -eq 2 ] || fail "Cancel in the interactive upgrade ended with status $status, not 2"
    [ "$(cd "$programs" && find . -type f -exec sha256sum {} + | sort)" = "$installed" ] && [ -f "$shortcut" ] &&
        [ "$(version)" = 0.1 ] || fail "an upgrade while Tintwell runs changed the old install"
    echo "Upgrade while Tintwell runs: silent status 2, interactive asked and Cancel gave 2, old install whole"
    press_until "$window" Escape closed || fail "Escape did not close the window after the refused upgrade"
    wineserver -w

    # The upgrade, then the uninstaller, which leaves the player's own files: Tintwell.cfg
    # and the colors kept at every save.
    local before
    before="$(cd "$game" && find . -type f -exec sha256sum {} + | sort)"
    wine "$installer" /S && wineserver -w
    [ "$(version)" = "$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build_dir/CMakeCache.txt")" ] &&
        cmp -s "$cfg" "$scratch/Tintwell.cfg.kept" ||
        fail "the upgrade did not install this version, or did not keep Tintwell.cfg"
    [ "$(ls "$programs" | tr '\n' ' ')" = "Kept colors LICENSE.GPL README.txt TextColors.orig Tintwell.cfg Tintwell.png Uninstall.exe tintwell.exe " ] ||
        fail "after the upgrade $programs holds: $(ls "$programs" | tr '\n' ' ')"
    wine "$programs/Uninstall.exe" /S && wineserver -w
    [ "$(ls "$programs" | tr '\n' ' ')" = "Kept colors Tintwell.cfg " ] && [ ! -e "$shortcut" ] &&
        ! wine reg query "$key" >/dev/null 2>&1 ||
        fail "the uninstaller left more than Tintwell.cfg: $(ls "$programs" | tr '\n' ' ')"
    [ "$(cd "$game" && find . -type f -exec sha256sum {} + | sort)" = "$before" ] ||
        fail "installing or uninstalling changed the game's files"
    # Every key and file the install and Tintwell made is gone, but Tintwell.cfg. (A new
    # Wine prefix lacks the list of installed programs that Windows always has.)
    local keys_left files_left
    keys_left="$(comm -13 <(echo "$keys_before") <(keys) |
        grep -vx '\[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\]' || true)"
    files_left="$(comm -13 <(echo "$files_before") <(files) | grep -v '/Programs/Tintwell/\(Tintwell\.cfg\|Kept colors/.*\)$' || true)"
    [ -z "$keys_left$files_left" ] || fail "the uninstaller left keys and files: $keys_left $files_left"
    echo "Installer under Wine: per-user install, first start from the shortcut saved with a backup,"
    echo "  a Cyrillic game folder kept, 192 dpi on screen, upgrade kept Tintwell.cfg, uninstalled clean"
}
try_installer
