#!/usr/bin/env bash
# Runs every test: the portable core natively with AddressSanitizer and UBSan,
# a short fuzzing run of each file reader, then the Windows builds and their
# end-to-end and package tests under Wine on a virtual display.
#
# The 32-bit build, the one users get, is always built and its packages
# checked. Its programs run only where this machine can execute 32-bit code;
# the 64-bit build of the same sources runs its end-to-end and installer
# tests everywhere. A check that cannot run here shows as skipped in ctest.
# FUZZ_SECONDS sets the length of each fuzz run (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
source scripts/wine-env.sh

echo "== set-up (Debian packages)"
vantorel_step_shown setup bash scripts/setup-debian.sh

echo "== native build and unit tests"
vantorel_step native-configure cmake --preset native
vantorel_step native-build cmake --build --preset native
vantorel_step_shown native-test ctest --preset native

echo "== fuzz smoke runs"
vantorel_step fuzz-configure cmake --preset fuzz
vantorel_step fuzz-build cmake --build --preset fuzz
for target in preferences_load log_read; do
    corpus="$root/build/fuzz/corpus/$target"
    rm -rf "$corpus" && mkdir -p "$corpus"
    cp "$root/fuzz/corpus/$target"/* "$corpus/"
    vantorel_step "fuzz-$target" "$root/build/fuzz/fuzz/fuzz_$target" \
        -max_total_time="${FUZZ_SECONDS:-20}" -max_len=4096 -print_final_stats=0 "$corpus"
    echo "fuzz_$target: $(grep -Eo 'Done [0-9]+ runs in [0-9]+ second' \
        "$VANTOREL_LOGS/fuzz-$target.log" | tail -n 1), no crash"
done

echo "== Windows builds"
vantorel_wine_probe
for preset in windows windows64; do
    vantorel_step "$preset-configure" cmake --preset "$preset"
    vantorel_step "$preset-build" cmake --build --preset "$preset"
    echo "$preset: built"
done

trap vantorel_stop_display EXIT
vantorel_display

# Prints every end-to-end case that ran, with its result.
show_cases() {  # build-folder
    grep -hE '^\[ +(OK|FAILED|SKIPPED) +\] [A-Za-z]' "$1/Testing/Temporary/LastTest.log" || true
}

failed=0 skipped_note=
for bits in 32 64; do
    preset=windows
    [ "$bits" = 64 ] && preset=windows64
    echo "== $bits-bit Windows build: end-to-end and package tests"
    if ! vantorel_wine_runs "$bits"; then
        echo "(this machine cannot run $bits-bit Windows programs: those checks report as skipped)"
    fi
    vantorel_step_shown "$preset-test" ctest --preset "$preset" || failed=1
    show_cases "$root/build/$preset"
    skipped=$(grep -c '(Skipped)$' "$VANTOREL_LOGS/$preset-test.log" || true)
    if [ "$skipped" -gt 0 ]; then
        skipped_note+=" $skipped checks of the $bits-bit build skipped: this machine cannot run them."
    fi
done
[ "$failed" = 0 ] || { echo "FAILED: some Windows tests failed (see above)" >&2; exit 1; }
echo "== all tests passed.${skipped_note}"
