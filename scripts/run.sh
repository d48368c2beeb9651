#!/usr/bin/env bash
# Builds vantorel.exe and starts it under Wine (on a virtual display when
# there is no real one; then a screenshot is saved to build/run-screenshot.png
# after a few seconds, since nobody can see that display).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target vantorel

source scripts/wine-env.sh
had_display=${DISPLAY:-}
trap vantorel_stop_display EXIT
vantorel_display
vantorel_wine_prefix
if [ -z "$had_display" ]; then
  echo "No display: running on virtual display $DISPLAY for 10 s; screenshot in build/run-screenshot.png"
  wine build/windows/app/vantorel.exe &
  pid=$!
  sleep 8
  xwd -root -silent | convert xwd:- build/run-screenshot.png
  sleep 2
  wineserver -k || true
  wait "$pid" 2>/dev/null || true
else
  exec wine build/windows/app/vantorel.exe
fi
