#!/usr/bin/env bash
# Builds vantorel.exe and starts it under Wine: the 32-bit program where this
# machine can run it, else the 64-bit build of the same sources. On a virtual
# display when there is no real one; then a screenshot is saved to
# build/run-screenshot.png after a few seconds, since nobody can see that
# display.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

vantorel_step_shown setup bash scripts/setup-debian.sh
vantorel_wine_probe
vantorel_wine_use "$VANTOREL_RUN_BITS"
preset=windows
[ "$VANTOREL_RUN_BITS" = 64 ] && preset=windows64
echo "Running the $VANTOREL_RUN_BITS-bit build ($preset)."
vantorel_step "$preset-configure" cmake --preset "$preset"
vantorel_step "$preset-build" cmake --build --preset "$preset" --target vantorel
exe=$VANTOREL_BUILD/app/vantorel.exe

had_display=${DISPLAY:-}
trap vantorel_stop_display EXIT
vantorel_display
vantorel_wine_prefix
if [ -z "$had_display" ]; then
    echo "No display: running on virtual display $DISPLAY for 10 s; screenshot in build/run-screenshot.png"
    vantorel_wine "$exe" &
    pid=$!
    sleep 8
    vantorel_step screenshot bash -c 'xwd -root -silent | convert xwd:- build/run-screenshot.png'
    sleep 2
    wineserver -k || true
    wait "$pid" 2>/dev/null || true
    echo "screenshot saved: build/run-screenshot.png"
else
    exec "$VANTOREL_WINE" "$exe"
fi
