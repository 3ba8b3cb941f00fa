#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what Tintwell needs on Debian 12. Only missing packages are installed, so
# a ready machine is left alone.
#
#   scripts/install-deps.sh          to build, run, demo and run the Qt 5 suite
#   scripts/install-deps.sh --full   also for every build of scripts/test.sh --full:
#                                    Qt 6, the package check with lintian, the fuzzers
#   scripts/install-deps.sh --windows  for the Windows build, its tests under Wine and
#                                    its packages; only 64-bit Windows programs are
#                                    built and run, so Wine needs no i386 architecture
set -euo pipefail

# mold links the Linux builds (CMakeLists.txt uses it when the compiler can), several
# times faster than the default linker.
packages=(
    g++ cmake make pkg-config ccache python3 mold
    qtbase5-dev qt5-style-plugin-plastique
    xvfb xauth xdotool x11-utils libx11-dev imagemagick
    desktop-file-utils appstream dpkg-dev
)
case "${1:-}" in
--full) packages+=(qt6-base-dev lintian clang clang-format libclang-rt-14-dev) ;;
--windows)
    packages=(cmake make ccache python3 xz-utils
        g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
        wine wine64 fonts-wine
        xvfb xauth xdotool x11-utils imagemagick
        nsis zip unzip)
    ;;
"") ;;
*)
    echo "usage: scripts/install-deps.sh [--full | --windows]" >&2
    exit 2
    ;;
esac

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
