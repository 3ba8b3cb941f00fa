#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds Tintwell for 64-bit Windows with MinGW-w64 into one static tintwell.exe
# (no Qt or MinGW DLL beside it): the windows preset, in ./build-windows.
#
#   scripts/build-windows.sh [QT_FOR_WINDOWS] [-- extra CMake arguments]
#
# The static Qt for Windows is found, in this order: the argument (a folder holding
# lib/cmake/Qt5, or a qt5.15.8-mingw64-static.tar.xz), $TINTWELL_WINDOWS_QT (the same),
# ../shared/windows/qt5.15.8-mingw64-static.tar.xz, an archive this script made earlier,
# and otherwise scripts/build-windows-qt.sh builds it from Debian's own sources (about
# 35 minutes on two cores). Archives are unpacked into the build folder. The preset
# is then given the Qt's prefix in $TINTWELL_WINDOWS_QT.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
root="$tintwell_root"
build_dir="$root/build-windows"
archive_name="qt5.15.8-mingw64-static.tar.xz"

qt_source="${TINTWELL_WINDOWS_QT:-}"
if [ $# -gt 0 ] && [ "$1" != "--" ]; then
    qt_source="$1"
    shift
fi
[ "${1:-}" = "--" ] && shift

scripts/install-deps.sh --windows

# The prefix of a Qt inside $1 (unpacked archive or folder), or nothing.
qt_prefix_in() {
    local found
    found="$(find "$1" -maxdepth 6 -path '*/lib/cmake/Qt5/Qt5Config.cmake' -print -quit 2>/dev/null)"
    [ -n "$found" ] && dirname "$(dirname "$(dirname "$(dirname "$found")")")"
}

unpack() {
    local archive="$1" into="$build_dir/qt"
    local stamp="$into/.from-$(sha256sum "$archive" | cut -c1-16)"
    if [ ! -f "$stamp" ]; then
        echo "Unpacking $archive" >&2
        rm -rf "$into"
        mkdir -p "$into"
        tar -xJf "$archive" -C "$into"
        touch "$stamp"
    fi
    qt_prefix_in "$into"
}

find_qt() {
    local candidate
    for candidate in "$qt_source" "$root/../shared/windows/$archive_name" \
        "$build_dir/$archive_name"; do
        [ -n "$candidate" ] || continue
        if [ -d "$candidate" ]; then
            qt_prefix_in "$candidate" && return
        elif [ -f "$candidate" ]; then
            unpack "$(realpath "$candidate")" && return
        fi
    done
    return 1
}

mkdir -p "$build_dir"
if ! qt_prefix="$(find_qt)" || [ -z "$qt_prefix" ]; then
    echo "No Qt for Windows given or found; building it from source."
    scripts/build-windows-qt.sh "$build_dir/$archive_name"
    qt_prefix="$(find_qt)"
fi
echo "Qt for Windows: $qt_prefix"

export TINTWELL_WINDOWS_QT="$qt_prefix"
start=$(date +%s)
cmake --preset windows "$@" >/dev/null
cmake --build --preset windows -j "$build_jobs"
echo "Built in $(($(date +%s) - start)) s"

exe="$build_dir/tintwell.exe"
# Only Windows' own DLLs may be named: anything else would have to travel beside it.
imports="$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print $3}')"
foreign="$(echo "$imports" | grep -viE '^(advapi32|comdlg32|dwmapi|gdi32|imm32|kernel32|msvcrt|netapi32|ole32|oleaut32|shell32|user32|userenv|uxtheme|version|winmm|ws2_32|wtsapi32|winspool\.drv|shlwapi|uuid|crypt32|mpr|setupapi)(\.dll)?$' || true)"
if [ -n "$foreign" ]; then
    echo "tintwell.exe needs DLLs that are not part of Windows: $foreign" >&2
    exit 1
fi
echo "$exe: $(stat -c %s "$exe") bytes, imports only Windows system DLLs"
