#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what Tintwell needs to build, run and test on Debian 12. Only missing
# packages are installed, so a ready machine is left alone.
set -euo pipefail

packages=(
    g++ cmake make pkg-config
    qtbase5-dev qt5-style-plugin-plastique
    qt6-base-dev
    xvfb xauth xdotool x11-utils libx11-dev imagemagick
    desktop-file-utils appstream dpkg-dev lintian
    clang libclang-rt-14-dev
)

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
