#!/usr/bin/env bash
# Prints the benchmark figures: countdown accuracy with and without a frozen
# user interface against a plain countdown program, start-up time against
# the start-up floor and a bare window program, the log viewer against its
# floor, memory, the CPU time of a running countdown against the plain one
# run beside it (both ticking, then both silent), and the exe's size and
# imports; then one "figure NAME VALUE [reference VALUE]" line each, so
# runs can be compared. With --long, only the private
# memory over a 15-minute countdown instead (about 16 minutes). Measures
# the 32-bit build where this machine can run it, else the 64-bit one; with
# --64, the 64-bit one in any case. Runs
# under Wine on a virtual display when there is no display; sounds go to
# ALSA's null device, which takes a sound's playing time as a card would.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
benches=(countdown_accuracy startup_time log_viewer_open memory_use running_cost)
arguments=() bits=
for option in "$@"; do
    case $option in
        --long) benches=(running_cost) arguments=(--long) ;;
        --64) bits=64 ;;
        *) echo "usage: bench/run.sh [--long] [--64]" >&2; exit 2 ;;
    esac
done

vantorel_step_shown setup bash scripts/setup-debian.sh
vantorel_wine_probe
VANTOREL_RUN_BITS=${bits:-$VANTOREL_RUN_BITS}
vantorel_wine_use "$VANTOREL_RUN_BITS"
preset=windows objdump=i686-w64-mingw32-objdump
if [ "$VANTOREL_RUN_BITS" = 64 ]; then preset=windows64 objdump=x86_64-w64-mingw32-objdump; fi
echo "Measuring the $VANTOREL_RUN_BITS-bit build ($preset)."
vantorel_step "$preset-configure" cmake --preset "$preset"
vantorel_step "$preset-build" cmake --build --preset "$preset"

trap vantorel_stop_display EXIT
vantorel_display
vantorel_wine_prefix
mkdir -p "$VANTOREL_BUILD/bench/sound"
printf '%s\n' '</usr/share/alsa/alsa.conf>' 'pcm.!default { type null }' \
    >"$VANTOREL_BUILD/bench/sound/alsa.conf"
export ALSA_CONFIG_PATH=$VANTOREL_BUILD/bench/sound/alsa.conf

exe=$VANTOREL_BUILD/app/vantorel.exe
exe_windows=$(vantorel_wine winepath -w "$exe" 2>/dev/null | tr -d '\r')
[ -n "$exe_windows" ] || { vantorel_failed "$VANTOREL_WINE winepath -w $exe" /dev/null; exit 1; }
echo "== vantorel.exe ($VANTOREL_RUN_BITS-bit build)"
echo "size: $(stat -c %s "$exe") bytes"
echo "imports: $("$objdump" -p "$exe" | awk '/DLL Name:/ {print $3}' | sort -f | paste -sd' ')"
for bench in "${benches[@]}"; do
    echo "== $bench ($VANTOREL_RUN_BITS-bit build)"
    VANTOREL_EXE=$exe_windows vantorel_step_shown "bench-$bench" "$VANTOREL_WINE" \
        "$VANTOREL_BUILD/bench/bench_$bench.exe" "${arguments[@]}"
done
echo "== figures ($VANTOREL_RUN_BITS-bit build)"
for bench in "${benches[@]}"; do
    grep -h '^figure ' "$VANTOREL_LOGS/bench-$bench.log" | tr -d '\r'
done
[ ${#arguments[@]} -gt 0 ] || echo "figure exe_bytes $(stat -c %s "$exe")"
