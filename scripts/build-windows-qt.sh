#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the static Qt 5.15.8 for 64-bit Windows that scripts/build-windows.sh uses,
# from Debian 12's own sources, and packs it as ARCHIVE (a .tar.xz). About 35 minutes
# on two cores. The result matches the archive CI is given: qtbase configured as below,
# and the Plastique style from Debian's qtstyleplugins source, built with that Qt.
#
#   scripts/build-windows-qt.sh ARCHIVE
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 ARCHIVE" >&2; exit 2; }
cd "$(dirname "$0")/.."
root="$(pwd)"
archive="$(realpath -m "$1")"
work="$(dirname "$archive")/qt-source"
prefix="$work/qt5-win64"

scripts/install-deps.sh --windows
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
need=(dpkg-dev perl python3 make g++ xz-utils)
missing=()
for package in "${need[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# apt-get source needs a deb-src entry for bookworm.
if ! grep -rqs '^deb-src .* bookworm ' /etc/apt/sources.list /etc/apt/sources.list.d/ &&
    ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/; then
    # The same Signed-By as Debian's own entry: apt refuses two entries for one
    # source that disagree on it.
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' |
        $sudo tee /etc/apt/sources.list.d/tintwell-src.sources >/dev/null
    $sudo apt-get update -qq
fi

# Qt's configure calls x86_64-w64-mingw32-g++ by that name: the posix-thread variant.
for tool in gcc g++; do
    $sudo update-alternatives --set "x86_64-w64-mingw32-$tool" "/usr/bin/x86_64-w64-mingw32-$tool-posix"
done

rm -rf "$work"
mkdir -p "$work"
cd "$work"
apt-get source --download-only qtbase-opensource-src
dpkg-source -x qtbase-opensource-src_5.15.8*.dsc qtbase
# The Plastique source comes from Debian too; where a mirror lacks it, the same commit's
# source may lie beside the ready-made Qt in ../shared/windows.
styles_copy="$root/../shared/windows/qtstyleplugins-335dbec.tar.xz"
if apt-get source --download-only qtstyleplugins-src; then
    dpkg-source -x qtstyleplugins-src_*.dsc qtstyleplugins
elif [ -f "$styles_copy" ]; then
    echo "Taking the Plastique source from $styles_copy"
    mkdir qtstyleplugins
    tar -xJf "$styles_copy" -C qtstyleplugins
else
    echo "No source for the Plastique style" >&2
    exit 1
fi

mkdir build
cd build
../qtbase/configure -prefix "$prefix" -xplatform win32-g++ \
    -device-option CROSS_COMPILE=x86_64-w64-mingw32- -opensource -confirm-license \
    -release -static -static-runtime -nomake examples -nomake tests -no-opengl -no-dbus \
    -no-icu -qt-zlib -qt-libpng -qt-libjpeg -qt-pcre -qt-freetype -qt-harfbuzz \
    -no-sql-sqlite -no-sql-odbc -no-sql-psql -no-sql-mysql -no-feature-sql \
    -no-feature-network -no-feature-concurrent -no-feature-tabletevent -no-openssl
make -j "$(nproc)"
make install

cd ../qtstyleplugins/src/plugins/styles/plastique
"$prefix/bin/qmake"
make -j "$(nproc)"
make install

cd "$work"
tar -cJf "$archive" qt5-win64
echo "Wrote $archive"
