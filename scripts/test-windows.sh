#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds Tintwell and its whole test suite for Windows and runs every test
# program under Wine (headless: Wine's null graphics driver and Qt's offscreen
# platform), runs the real program under Wine on a virtual display
# (scripts/try-windows.sh), then makes the Windows packages and checks what the ZIP holds.
#
#   scripts/test-windows.sh [QT_FOR_WINDOWS]     (see scripts/build-windows.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
export TINTWELL_WINDOWS_BUILD_DIR="$(realpath -m "${TINTWELL_WINDOWS_BUILD_DIR:-build-windows}")"
build_dir="$TINTWELL_WINDOWS_BUILD_DIR"

scripts/build-windows.sh "$@"

start=$(date +%s)
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
echo "Windows tests under Wine: $(($(date +%s) - start)) s"

TINTWELL_SCREENSHOTS="$build_dir/screenshots" scripts/try-windows.sh "$build_dir"

(cd "$build_dir" && cpack -B "$build_dir/packages" >/dev/null)
zip="$build_dir/packages/tintwell-0.3-windows-x64.zip"
installer="$build_dir/packages/tintwell-0.3-windows-x64.exe"
listing="$(unzip -Z1 "$zip" | sort | tr '\n' ' ')"
[ "$listing" = "LICENSE.GPL README.txt TextColors.orig Tintwell.png tintwell.exe " ] ||
    { echo "The ZIP holds: $listing" >&2; exit 1; }
[ -f "$installer" ] || { echo "No installer $installer" >&2; exit 1; }
# Debian's NSIS makes a 32-bit installer, which this 64-bit Wine cannot run, so its
# script is read instead: installed per user without administrator rights, nothing
# written for the whole machine, and an uninstaller that removes only what it named.
script="$build_dir/packages/_CPack_Packages/win64/NSIS/project.nsi"
grep -q '^ *RequestExecutionLevel user' "$script" &&
    grep -q '^ *InstallDir "\$LOCALAPPDATA\\Programs\\Tintwell"' "$script" &&
    ! grep -qE 'WriteReg[A-Za-z]* HKLM|RMDir /r|Delete "\$INSTDIR\\\*' "$script" ||
    { echo "The installer is not a per-user one that removes only its own files: $script" >&2; exit 1; }
echo "Packages: $(stat -c '%n %s bytes' "$zip" "$installer" | tr '\n' ';')"
