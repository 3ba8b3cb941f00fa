#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds, and runs every test headless: the Qt 5 build, the same suite built
# with AddressSanitizer and UndefinedBehaviorSanitizer, the Qt 6 build, the Debian
# package, and a short run of every fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

run_suite() {
    local dir="$1"
    shift
    echo "=== $dir"
    cmake -S . -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
    ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
}

run_suite build
TINTWELL_BUILD_DIR=build scripts/package.sh
run_suite build-sanitize -DTINTWELL_SANITIZE=ON -DTINTWELL_BUILD_BENCH=OFF
run_suite build-qt6 -DTINTWELL_QT=6 -DTINTWELL_BUILD_BENCH=OFF
if [ -x scripts/fuzz.sh ]; then
    scripts/fuzz.sh 20
fi
