#!/bin/sh
# Builds the two sounds built into Vantorel, res/tick.wav and res/alarm.wav,
# from scratch with sox and lame; res/wavwriter.py writes the WAVE containers.
#
#   tick.wav   512 bytes: 468 samples (58.5 ms) of 8-bit unsigned PCM, 8 kHz
#              mono: a 10 ms decaying 2 kHz click, then silence.
#   alarm.wav  5,542 bytes: 38 MPEG Layer-3 frames (8 kHz, 16 kbit/s, mono,
#              144 bytes each, 2.736 s): four "beep-beep" pairs, 880 Hz then
#              1320 Hz, each pair followed by a short pause.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for tool in sox lame python3; do
    command -v "$tool" >/dev/null || { echo "make_sounds.sh: $tool is missing" >&2; exit 1; }
done

# Every length below is in samples at 8000 Hz ("-r 8000" before "-n" makes
# sox count the synth and pad lengths at that rate). "-D" turns dithering
# off, so every run writes the same bytes.
synth() {
    out=$1
    shift
    sox -D -r 8000 -c 1 -n -b 16 -e signed-integer "$out" "$@"
}

# --- tick: 80 samples of 2 kHz (phase 45 degrees, so no sample is zero)
# fading away, padded with 388 samples of silence (exactly 0x80, as
# nothing is dithered).
sox -D -r 8000 -c 1 -n -b 8 -e unsigned-integer -t raw "$work/tick.raw" \
    synth 80s sine 2000 0 12.5 vol 0.8 fade l 0 80s 76s pad 0 388s
python3 "$here/wavwriter.py" pcm8 "$work/tick.raw" "$here/tick.wav"

# --- alarm: one 5184-sample (0.648 s) cycle, repeated four times:
# 880 Hz beep 960, gap 320, 1320 Hz beep 960, rest 2944.
synth "$work/beep_low.wav" synth 960s sine 880 vol 0.6 fade h 40s 960s 160s
synth "$work/beep_high.wav" synth 960s sine 1320 vol 0.5 fade h 40s 960s 200s
synth "$work/gap.wav" trim 0 320s
synth "$work/rest.wav" trim 0 2944s
sox -D "$work/beep_low.wav" "$work/gap.wav" "$work/beep_high.wav" "$work/rest.wav" \
    "$work/cycle.wav"
sox -D "$work/cycle.wav" "$work/alarm_pcm.wav" repeat 3

# 20736 input samples (36 frames' worth) come out of lame, with its encoder
# delay and final flush, as exactly 38 frames. -t: no Xing/Info frame.
lame --quiet -m m -b 16 --cbr --resample 8 -t --noreplaygain \
    "$work/alarm_pcm.wav" "$work/alarm.mp3"
python3 "$here/wavwriter.py" mp3 "$work/alarm.mp3" "$here/alarm.wav" 38
