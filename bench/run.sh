#!/usr/bin/env bash
# Prints the benchmark figures: countdown accuracy with and without a frozen
# user interface against a plain countdown program, start-up time against a
# bare window program, the log viewer against its floor, memory, and the
# exe's size and imports; then one "figure NAME VALUE [reference VALUE]"
# line each, so runs can be compared. Measures the 32-bit build where this
# machine can run it, else the 64-bit one. Runs under Wine on a virtual
# display when there is no display.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

vantorel_step_shown setup bash scripts/setup-debian.sh
vantorel_wine_probe
vantorel_wine_use "$VANTOREL_RUN_BITS"
preset=windows objdump=i686-w64-mingw32-objdump
if [ "$VANTOREL_RUN_BITS" = 64 ]; then preset=windows64 objdump=x86_64-w64-mingw32-objdump; fi
echo "Measuring the $VANTOREL_RUN_BITS-bit build ($preset)."
vantorel_step "$preset-configure" cmake --preset "$preset"
vantorel_step "$preset-build" cmake --build --preset "$preset"

trap vantorel_stop_display EXIT
vantorel_display
vantorel_wine_prefix

exe=$VANTOREL_BUILD/app/vantorel.exe
exe_windows=$(vantorel_wine winepath -w "$exe" 2>/dev/null | tr -d '\r')
[ -n "$exe_windows" ] || { vantorel_failed "$VANTOREL_WINE winepath -w $exe" /dev/null; exit 1; }
echo "== vantorel.exe ($VANTOREL_RUN_BITS-bit build)"
echo "size: $(stat -c %s "$exe") bytes"
echo "imports: $("$objdump" -p "$exe" | awk '/DLL Name:/ {print $3}' | sort -f | paste -sd' ')"
for bench in countdown_accuracy startup_time log_viewer_open memory_use; do
    echo "== $bench ($VANTOREL_RUN_BITS-bit build)"
    VANTOREL_EXE=$exe_windows vantorel_step_shown "bench-$bench" "$VANTOREL_WINE" \
        "$VANTOREL_BUILD/bench/bench_$bench.exe"
done
echo "== figures ($VANTOREL_RUN_BITS-bit build)"
for bench in countdown_accuracy startup_time log_viewer_open memory_use; do
    grep -h '^figure ' "$VANTOREL_LOGS/bench-$bench.log" | tr -d '\r'
done
echo "figure exe_bytes $(stat -c %s "$exe")"
