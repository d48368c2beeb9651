#!/usr/bin/env bash
# Runs a Windows program of the 32- or 64-bit build under Wine, for ctest.
# Exits with 77, which ctest reports as skipped, when this machine cannot
# execute Wine's loader for that build.
# Expects DISPLAY (scripts/test.sh starts a virtual display). Sound goes to
# ALSA's null device and is recorded on the way (vantorel_recorded_sound).
# Usage: wine-run.sh 32|64 PROGRAM [ARGUMENTS...]
set -euo pipefail
bits=$1
shift
source "$(dirname "$0")/wine-env.sh"
vantorel_wine_use "$bits"
vantorel_skip_unless_runs
if [ -z "${DISPLAY:-}" ]; then
    echo "wine-run.sh: DISPLAY is not set; run the tests through scripts/test.sh, which starts a virtual display" >&2
    exit 1
fi
vantorel_wine_prefix
vantorel_recorded_sound
exec "$VANTOREL_WINE" "$@"
