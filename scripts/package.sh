#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package as a distribution would, in a folder of its own
# (build-package, or $TINTWELL_PACKAGE_BUILD): with Debian's hardening flags
# (dpkg-buildflags), and reproducibly: every time in the package is the newest
# release's (SOURCE_DATE_EPOCH from the changelog, also for the resources' times), and
# the paths of the checkout are mapped to "." in the binary, so the same tree built in
# any folder gives the same .deb. Then checks it with lintian (no errors allowed),
# checks that apt could install it here, and starts the unpacked package once.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
build_dir="${TINTWELL_PACKAGE_BUILD:-build-package}"

# All of Debian's hardening (bindnow and PIE included); fixfilepath maps this folder.
export DEB_BUILD_MAINT_OPTIONS="hardening=+all reproducible=+all"
eval "$(dpkg-buildflags --export=sh)"
# CMake reads no CPPFLAGS; _FORTIFY_SOURCE comes in them.
export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS"
cmake -S . -B "$build_dir" -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTINTWELL_BUILD_TESTS=OFF -DTINTWELL_BUILD_BENCH=OFF >/dev/null
SOURCE_DATE_EPOCH="$(dpkg-parsechangelog -l "$build_dir/packaging/generated/changelog.Debian" -STimestamp)"
# rcc stamps every resource with its file's time unless told otherwise.
export SOURCE_DATE_EPOCH QT_RCC_SOURCE_DATE_OVERRIDE="$SOURCE_DATE_EPOCH"
cmake --build "$build_dir" -j "$build_jobs" >/dev/null
rm -f "$build_dir"/tintwell_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null 2>&1)
deb="$(ls "$build_dir"/tintwell_*.deb)"
echo "Built $deb: $(sha256sum "$deb" | cut -d' ' -f1)"
dpkg-deb -c "$deb" >"$deb.contents"
grep -q '\./usr/bin/tintwell$' "$deb.contents" || { echo "the package lacks usr/bin/tintwell"; exit 1; }
report="$(lintian --pedantic --tag-display-limit 0 "$deb" 2>&1 | grep -v 'running with root privileges' || true)"
[ -n "$report" ] && echo "$report"
if echo "$report" | grep -q '^E:'; then
    echo "lintian found errors"
    exit 1
fi
if echo "$report" | grep -q 'hardening-'; then
    echo "lintian finds the hardening incomplete"
    exit 1
fi
echo "lintian: no errors, hardened"

apt-get install --simulate "./$deb" >/dev/null
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
XDG_CONFIG_HOME="$root/config" QT_QPA_PLATFORM=offscreen timeout 5 "$root/usr/bin/tintwell" \
    >/dev/null 2>&1 || true
[ -f "$root/config/tintwell/TextColors.orig" ] || { echo "the packaged launcher did not start"; exit 1; }
echo "package installs and starts"
