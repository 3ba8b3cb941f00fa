#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The test command.
#
#   scripts/test.sh [ctest options]   installs what is missing, builds ./build (the
#                                     default preset of CMakePresets.json) and runs
#                                     the whole Qt 5 suite headless, fault and
#                                     hostile-input tests included
#   scripts/test.sh --full            the same, then the format check
#                                     (scripts/check-format.sh) and every further
#                                     build: the Debian package with lintian, the suite with
#                                     AddressSanitizer and UndefinedBehaviorSanitizer
#                                     (asan-ubsan), the suite against Qt 6 (qt6), a
#                                     short run of every fuzzer (fuzz), and the Windows
#                                     build (windows) where scripts/test-windows.sh exists
#
# ctest options pick a part of the suite, e.g. scripts/test.sh -L faults or
# scripts/test.sh -R TestSettingsDlg. Builds go through ccache, so a rerun after a
# small change recompiles only what the change touches.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

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

# suite PRESET: builds the preset and runs its tests. The tests spend most of their time
# waiting for the programs they start and for the disk (with one test per core the
# processors were busy a sixth of the time), so twice as many run at once as cores.
suite() {
    echo "=== $1"
    build_preset "$1"
    ctest --preset "$1" -j "$((build_jobs * 2))" "${ctest_options[@]}"
}

suite default
if [ "$full" -eq 1 ]; then
    scripts/check-format.sh
    scripts/package.sh
    suite asan-ubsan
    suite qt6
    scripts/fuzz.sh 20
    if [ -f scripts/test-windows.sh ]; then
        bash scripts/test-windows.sh
    fi
fi
echo "test.sh: passed in $((SECONDS - started)) s"
