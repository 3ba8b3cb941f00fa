#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from ./build (the default preset), checks it with
# lintian (no errors allowed), checks that apt could install it here, and starts the
# unpacked package once.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
build_dir=build
[ -f "$build_dir/CMakeCache.txt" ] || build_preset default >/dev/null
(cd "$build_dir" && cpack -G DEB >/dev/null 2>&1)
deb="$(ls -t "$build_dir"/tintwell_*.deb | head -n 1)"
echo "Built $deb"
dpkg-deb -c "$deb" >"$deb.contents"
grep -q '\./usr/bin/tintwell$' "$deb.contents" || { echo "the package lacks usr/bin/tintwell"; exit 1; }
report="$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v 'running with root privileges' || true)"
[ -n "$report" ] && echo "$report"
if echo "$report" | grep -q '^E:'; then
    echo "lintian found errors"
    exit 1
fi
echo "lintian: no errors"

apt-get install --simulate "./$deb" >/dev/null
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
XDG_CONFIG_HOME="$root/config" QT_QPA_PLATFORM=offscreen timeout 5 "$root/usr/bin/tintwell" \
    >/dev/null 2>&1 || true
[ -f "$root/config/tintwell/TextColors.orig" ] || { echo "the packaged launcher did not start"; exit 1; }
echo "package installs and starts"
