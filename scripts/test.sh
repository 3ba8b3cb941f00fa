#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The test command.
#
#   scripts/test.sh [ctest options]   installs what is missing, builds ./build and runs
#                                     the whole Qt 5 suite headless, fault and
#                                     hostile-input tests included
#   scripts/test.sh --full            the same, then every further build: the suite
#                                     with AddressSanitizer and UndefinedBehaviorSanitizer,
#                                     the suite against Qt 6, the Debian package with
#                                     lintian, a short run of every fuzzer, and the
#                                     Windows build where scripts/test-windows.sh exists
#
# ctest options pick a part of the suite, e.g. scripts/test.sh -L faults or
# scripts/test.sh -R TestSettingsDlg. Builds go through ccache, so a rerun after a
# small change recompiles only what the change touches.
set -euo pipefail
cd "$(dirname "$0")/.."

full=0
ctest_options=()
for argument in "$@"; do
    case "$argument" in
    --full) full=1 ;;
    *) ctest_options+=("$argument") ;;
    esac
done
if [ "$full" -eq 1 ] && [ ${#ctest_options[@]} -ne 0 ]; then
    echo "test.sh: --full runs everything; it takes no ctest options" >&2
    exit 2
fi

started=$SECONDS
if [ "$full" -eq 1 ]; then
    scripts/install-deps.sh --full
else
    scripts/install-deps.sh
fi

jobs="$(nproc)"
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Paths relative to the checkout, so a second clone reuses what the first compiled.
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}"
fi

run_suite() {
    local dir="$1"
    shift
    echo "=== $dir"
    cmake -S . -B "$dir" "${launcher[@]}" "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" "${ctest_options[@]}"
}

run_suite build
if [ "$full" -eq 1 ]; then
    TINTWELL_BUILD_DIR=build scripts/package.sh
    run_suite build-sanitize -DTINTWELL_SANITIZE=ON -DTINTWELL_BUILD_BENCH=OFF
    run_suite build-qt6 -DTINTWELL_QT=6 -DTINTWELL_BUILD_BENCH=OFF
    scripts/fuzz.sh 20
    if [ -f scripts/test-windows.sh ]; then
        bash scripts/test-windows.sh
    fi
fi
echo "test.sh: passed in $((SECONDS - started)) s"
