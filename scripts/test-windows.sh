#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds Tintwell and its whole test suite for Windows and runs every test
# program under Wine (headless: Wine's null graphics driver and Qt's offscreen
# platform), makes the Windows packages and checks what the ZIP and the program carry,
# then runs the real program under Wine on a virtual display, and the installer with
# it in a fresh prefix (scripts/try-windows.sh).
#
#   scripts/test-windows.sh [QT_FOR_WINDOWS]     (see scripts/build-windows.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
build_dir="$tintwell_root/build-windows"

scripts/build-windows.sh "$@"

start=$(date +%s)
ctest --preset windows -j "$build_jobs"
echo "Windows tests under Wine: $(($(date +%s) - start)) s"

started=$(date +%s)
(cd "$build_dir" && cpack -B "$build_dir/packages" >/dev/null)
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build_dir/CMakeCache.txt")"
zip="$build_dir/packages/tintwell-$version-windows-x64.zip"
installer="$build_dir/packages/tintwell-$version-windows-x64.exe"
listing="$(unzip -Z1 "$zip" | sort | tr '\n' ' ')"
[ "$listing" = "LICENSE.GPL README.txt TextColors.orig Tintwell.png tintwell.exe " ] ||
    { echo "The ZIP holds: $listing" >&2; exit 1; }
x86_64-w64-mingw32-objdump -f "$installer" | grep -q 'file format pei-x86-64' ||
    { echo "The installer is no 64-bit Windows program: $installer" >&2; exit 1; }
echo "Packages: $(stat -c '%n %s bytes' "$zip" "$installer" | tr '\n' ';') in $(($(date +%s) - started)) s"

# The program's manifest and version resources, as Windows reads them.
exe="$build_dir/tintwell.exe"
manifest="$(grep -a -A60 '<assembly' "$exe" | tr -d '\0' || true)"
for wanted in '<longPathAware[^>]*>true<' '<dpiAwareness[^>]*>PerMonitor<' 'Microsoft.Windows.Common-Controls' \
    'level="asInvoker"' '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'; do
    grep -q "$wanted" <<<"$manifest" || { echo "tintwell.exe's manifest lacks $wanted" >&2; exit 1; }
done
versions="$(x86_64-w64-mingw32-strings -el -n 3 "$exe" | grep -cx "$version" || true)"
[ "$versions" -ge 2 ] || { echo "tintwell.exe's version resources do not say $version" >&2; exit 1; }

TINTWELL_SCREENSHOTS="$build_dir/screenshots" scripts/try-windows.sh "$installer"
