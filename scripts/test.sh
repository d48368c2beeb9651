#!/usr/bin/env bash
# Runs every test: the portable core natively with AddressSanitizer and UBSan,
# a short fuzzing run of each file reader, then the Windows build and its
# end-to-end tests under Wine on a virtual display.
# FUZZ_SECONDS sets the length of each fuzz run (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/setup-debian.sh

echo "== native build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== fuzz smoke runs"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in preferences_load log_read; do
  corpus="$root/build/fuzz/corpus/$target"
  rm -rf "$corpus" && mkdir -p "$corpus"
  cp "$root/fuzz/corpus/$target"/* "$corpus/"
  "$root/build/fuzz/fuzz/fuzz_$target" -max_total_time="${FUZZ_SECONDS:-20}" \
    -max_len=4096 -print_final_stats=0 "$corpus" 2>"$root/build/fuzz/$target.log" \
    || { tail -n 40 "$root/build/fuzz/$target.log"; echo "fuzz_$target found a crash"; exit 1; }
  echo "fuzz_$target: $(grep -Eo 'Done [0-9]+ runs in [0-9]+ second' "$root/build/fuzz/$target.log" | tail -n 1), no crash"
done

echo "== Windows build and end-to-end tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows
source scripts/wine-env.sh
# No sound device is needed to test: keep Wine from looking for one.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES,winealsa.drv=d"
trap vantorel_stop_display EXIT
vantorel_display
vantorel_wine_prefix
ctest --preset windows
