#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what Tintwell needs on Debian 12. Only missing packages are installed, so
# a ready machine is left alone.
#
#   scripts/install-deps.sh          to build, run, demo and run the Qt 5 suite
#   scripts/install-deps.sh --full   also for every build of scripts/test.sh --full:
#                                    Qt 6, the package check with lintian, the fuzzers
set -euo pipefail

packages=(
    g++ cmake make pkg-config ccache python3
    qtbase5-dev qt5-style-plugin-plastique
    xvfb xauth xdotool x11-utils libx11-dev imagemagick
    desktop-file-utils appstream dpkg-dev
)
case "${1:-}" in
--full) packages+=(qt6-base-dev lintian clang libclang-rt-14-dev) ;;
"") ;;
*)
    echo "usage: scripts/install-deps.sh [--full]" >&2
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
