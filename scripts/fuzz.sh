#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets (the fuzz preset: ./build-fuzz, with Clang) and runs
# each for a while on a working copy of the seed corpus. Exits non-zero when any target
# crashed, violated an invariant, timed out or ran out of memory.
#
#   scripts/fuzz.sh [seconds per target] [target...]
#
# New inputs and crash reproducers stay in build-fuzz/; tests/fuzz/ is only read.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
root="$tintwell_root"
seconds="${1:-${TINTWELL_FUZZ_SECONDS:-20}}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(fuzz_aocolor_setvalue fuzz_colorfile_load fuzz_preferences_line)
fi
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "fuzz.sh: seconds must be a positive whole number, not '$seconds'" >&2
    exit 2
fi
if ! command -v clang++ >/dev/null; then
    echo "fuzz.sh: clang++ not found; scripts/install-deps.sh --full installs it" >&2
    exit 2
fi

build="$root/build-fuzz"
mkdir -p "$build/logs"
echo "== building ${targets[*]} in $build"
if ! build_preset fuzz --target "${targets[@]}" >"$build/logs/build.log" 2>&1; then
    tail -n 30 "$build/logs/build.log" >&2
    echo "fuzz.sh: the build failed; log: $build/logs/build.log" >&2
    exit 2
fi

# Longest input worth trying: colour texts and preference files are short, colour
# files are not.
max_len() {
    case "$1" in
    fuzz_colorfile_load) echo 65536 ;;
    *) echo 4096 ;;
    esac
}

# The preferences target works in a folder of its own below TMPDIR and enters it,
# so every path handed to libFuzzer is absolute.
mkdir -p "$build/tmp" "$build/artifacts"
export TMPDIR="$build/tmp"
export LC_ALL=C.UTF-8
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

failed=()
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    # Seeds are added to what earlier runs found; a seed never overwrites an input.
    cp -n "$root/tests/fuzz/corpus/$target/"* "$corpus/" 2>/dev/null || true
    options=(-max_total_time="$seconds" -max_len="$(max_len "$target")" -timeout=2
             -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$build/artifacts/$target-")
    if [ "$target" = fuzz_colorfile_load ]; then
        options+=(-dict="$root/tests/fuzz/xml.dict")
    fi
    log="$build/logs/$target.log"
    echo "== $target: ${seconds}s, max_len $(max_len "$target")"
    status=0
    "$build/fuzz/$target" "${options[@]}" "$corpus" >"$log" 2>&1 || status=$?
    done_line="$(grep -E '^Done [0-9]+ runs in [0-9]+ second' "$log" | tail -n 1 || true)"
    if [ "$status" -ne 0 ] || [ -z "$done_line" ]; then
        echo "   FAILED (exit status $status); log: $log"
        grep -E 'invariant violated|ERROR: (libFuzzer|AddressSanitizer|LeakSanitizer)|runtime error|Test unit written to' \
            "$log" | head -n 8 | sed 's/^/   /'
        failed+=("$target")
        continue
    fi
    runs="$(sed -E 's/^Done ([0-9]+) runs in ([0-9]+) second.*/\1/' <<<"$done_line")"
    took="$(sed -E 's/^Done ([0-9]+) runs in ([0-9]+) second.*/\2/' <<<"$done_line")"
    echo "   $runs executions in ${took}s, corpus $(find "$corpus" -type f | wc -l) inputs"
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzz.sh: ${#failed[@]} of ${#targets[@]} targets failed: ${failed[*]}" >&2
    exit 1
fi
echo "fuzz.sh: ${#targets[@]} targets ran clean"
