# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Sourced by the other scripts: building a preset of CMakePresets.json, the demo game
# folder and its preferences, and the virtual X display the real program runs on.

# Under `set -e` a failing step whose own output is silenced ends a script without a
# word; say which step, so that a failure in a long run's log points at its line.
set -E
trap 'failed_status=$?; [[ $- != *e* ]] ||
    echo "${BASH_SOURCE[0]##*/}:$LINENO: \"$BASH_COMMAND\" failed (status $failed_status)" >&2' ERR

tintwell_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_jobs="$(nproc)"
# Builds go through ccache when it is there (CMake takes the launchers from the
# environment when it first configures a folder), with paths relative to the checkout,
# so a second clone reuses what the first compiled.
if command -v ccache >/dev/null; then
    export CMAKE_C_COMPILER_LAUNCHER="${CMAKE_C_COMPILER_LAUNCHER:-ccache}"
    export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}"
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$tintwell_root}"
    # Every compile includes a precompiled header, which ccache caches only when told
    # not to look for macros and times the header may hide.
    export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}"
fi

# build_preset PRESET [cmake --build option...]: configures the preset's folder
# (quietly) and builds it.
build_preset() {
    local preset="$1"
    shift
    (cd "$tintwell_root" && cmake --preset "$preset" >/dev/null &&
        cmake --build --preset "$preset" -j "$build_jobs" "$@")
}

# demo_game GAME [WORK]: a game install folder GAME whose colour file is the bundled
# resources/TextColors.orig and, given WORK, a working folder with the companions the
# program looks for beside itself. The preferences come from demo_preferences.
demo_game() {
    local colors="$1/cd_image/gui/default/TextColors.xml"
    mkdir -p "$(dirname "$colors")"
    cp "$tintwell_root/resources/TextColors.orig" "$colors"
    if [ $# -gt 1 ]; then
        mkdir -p "$2"
        local companion
        for companion in TextColors.orig LICENSE.GPL Tintwell.png; do
            cp "$tintwell_root/resources/$companion" "$2/"
        done
    fi
}

# demo_preferences WORK GAME ADVANCED [crlf]: WORK/Tintwell.cfg naming the game folder
# GAME (as the program will read it: a Z:\ path under Wine) and the mode (0 basic, 1
# advanced), with CR LF line ends when asked, as the program writes it on Windows.
demo_preferences() {
    local end='\n'
    [ "${4:-}" = crlf ] && end='\r\n'
    printf "## Tintwell Configuration ##${end}AODir = %s${end}AdvancedMode = %s${end}BGColor = black${end}" \
        "$2" "$3" >"$1/Tintwell.cfg"
}

# start_virtual_display DIR [XVFB OPTION...]: starts Xvfb on a free display (Xvfb picks
# it and reports its number on the given descriptor), exports DISPLAY and sets
# xvfb_pid. DIR keeps the display number and Xvfb's log.
start_virtual_display() {
    local dir="$1"
    shift
    Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp "$@" 3>"$dir/display" 2>"$dir/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$dir/display" ] && break
        sleep 0.1
    done
    [ -s "$dir/display" ] || { cat "$dir/xvfb.log" >&2; return 1; }
    export DISPLAY=":$(cat "$dir/display")"
}

# The window's title, "Tintwell v" and the first two numbers of the project's version,
# as the program makes it; and the same as a pattern for the whole title.
tintwell_title="Tintwell v$(sed -n 's/^project(Tintwell VERSION \([0-9]*\.[0-9]*\).*/\1/p' "$tintwell_root/CMakeLists.txt")"
tintwell_title_pattern="^${tintwell_title//./\\.}\$"

# wait_for_window [NAME...]: prints the id of the first visible window whose name
# matches one of the patterns (default: the window's title, exactly) once it is
# there, or nothing after a minute. Polled: xdotool's own --sync can miss a window
# mapped while it starts up.
wait_for_window() {
    local patterns=("$@") pattern window
    [ ${#patterns[@]} -gt 0 ] || patterns=("$tintwell_title_pattern")
    for _ in $(seq 120); do
        for pattern in "${patterns[@]}"; do
            window="$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1)" || true
            if [ -n "$window" ]; then
                echo "$window"
                return
            fi
        done
        sleep 0.5
    done
}
