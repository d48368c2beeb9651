#!/usr/bin/env bash
# Prints the benchmark figures: countdown accuracy with and without a frozen
# user interface, start-up time, log viewer opening time, and the exe's size
# and imports. Runs under Wine on a virtual display when there is no display.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh
cmake --preset windows >/dev/null
cmake --build --preset windows >/dev/null
source scripts/wine-env.sh
trap vantorel_stop_display EXIT
vantorel_display
vantorel_wine_prefix

exe=build/windows/app/vantorel.exe
echo "== vantorel.exe"
echo "size: $(stat -c %s "$exe") bytes"
echo "imports: $(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print $3}' | sort -f | paste -sd' ')"
for bench in countdown_accuracy startup_time log_viewer_open; do
  echo "== $bench"
  wine "build/windows/bench/bench_$bench.exe" "--vantorel-exe=$(winepath -w "$(realpath "$exe")")" | tr -d '\r'
done
