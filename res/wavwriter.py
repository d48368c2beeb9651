#!/usr/bin/env python3
"""Wraps raw audio into the two RIFF WAVE containers built into Vantorel.

  wavwriter.py pcm8 TICK.raw OUT.wav
      8-bit unsigned mono PCM at 8000 Hz: a 16-byte "fmt " chunk and a
      "data" chunk holding the raw samples unchanged.

  wavwriter.py mp3 ALARM.mp3 OUT.wav FRAMES
      An MPEG Layer-3 stream (8000 Hz, 16 kbit/s, mono, constant bit rate,
      144-byte frames without padding) in a WAVE file with a 30-byte
      MPEGLAYER3WAVEFORMAT "fmt " chunk, a "fact" chunk and a "data" chunk
      of exactly FRAMES frames. A leading ID3v2 tag, a Xing/Info/VBRI frame
      and a trailing ID3v1 tag are dropped; frames beyond FRAMES are cut.
      Any frame that does not match the format above is an error.
"""

import struct
import sys

SAMPLE_RATE = 8000

# MPEG Layer-3 at 8 kHz: MPEG version 2.5, 576 samples per frame,
# 72 * 16000 / 8000 = 144 bytes per frame.
MP3_SAMPLES_PER_FRAME = 576
MP3_FRAME_BYTES = 144
MP3_AVG_BYTES_PER_SEC = 2000
MP3_CODEC_DELAY = 1393
MPEGLAYER3_ID_MPEG = 1
MPEGLAYER3_FLAG_PADDING_OFF = 2
WAVE_FORMAT_PCM = 1
WAVE_FORMAT_MPEGLAYER3 = 0x0055


def fail(message):
    sys.exit("wavwriter: " + message)


def chunk(tag, payload):
    assert len(tag) == 4
    data = tag + struct.pack("<I", len(payload)) + payload
    if len(payload) % 2:
        data += b"\0"
    return data


def riff_wave(chunks):
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def write_pcm8(raw_path, out_path):
    with open(raw_path, "rb") as f:
        samples = f.read()
    if not samples:
        fail(raw_path + " is empty")
    fmt = struct.pack("<HHIIHH", WAVE_FORMAT_PCM, 1, SAMPLE_RATE,
                      SAMPLE_RATE, 1, 8)
    wave = riff_wave([chunk(b"fmt ", fmt), chunk(b"data", samples)])
    with open(out_path, "wb") as f:
        f.write(wave)
    return len(wave)


def is_info_frame(frame):
    # Side information of an MPEG-2/2.5 mono frame is 9 bytes, so a
    # Xing/Info header starts right after it; VBRI sits at a fixed 32 bytes.
    return frame[4 + 9:4 + 9 + 4] in (b"Xing", b"Info") or frame[36:40] == b"VBRI"


def check_frame_header(header, index):
    """Raises on anything but MPEG-2.5 Layer III, 16 kbit/s, 8 kHz, mono,
    no padding, no CRC."""
    b0, b1, b2, b3 = header
    problems = []
    if b0 != 0xFF or (b1 & 0xE0) != 0xE0:
        problems.append("no frame sync")
    if (b1 >> 3) & 3 != 0:
        problems.append("not MPEG version 2.5")
    if (b1 >> 1) & 3 != 1:
        problems.append("not Layer III")
    if b1 & 1 != 1:
        problems.append("has a CRC")
    if b2 >> 4 != 2:
        problems.append("bit rate index %d, not 2 (16 kbit/s)" % (b2 >> 4))
    if (b2 >> 2) & 3 != 2:
        problems.append("sample rate index %d, not 2 (8 kHz)" % ((b2 >> 2) & 3))
    if (b2 >> 1) & 1:
        problems.append("padded")
    if b3 >> 6 != 3:
        problems.append("not mono")
    if problems:
        fail("MP3 frame %d: %s" % (index, ", ".join(problems)))


def mp3_frames(stream):
    pos = 0
    if stream[:3] == b"ID3":
        size = 0
        for b in stream[6:10]:
            size = (size << 7) | (b & 0x7F)
        pos = 10 + size
        if stream[5] & 0x10:
            pos += 10
    end = len(stream)
    if end - pos >= 128 and stream[end - 128:end - 125] == b"TAG":
        end -= 128
    frames = []
    while pos < end:
        if end - pos < 4:
            fail("%d stray bytes after the last MP3 frame" % (end - pos))
        check_frame_header(stream[pos:pos + 4], len(frames))
        if end - pos < MP3_FRAME_BYTES:
            fail("last MP3 frame is cut short")
        frame = stream[pos:pos + MP3_FRAME_BYTES]
        pos += MP3_FRAME_BYTES
        if not frames and is_info_frame(frame):
            continue
        frames.append(frame)
    return frames


def write_mp3(mp3_path, out_path, frame_count):
    with open(mp3_path, "rb") as f:
        frames = mp3_frames(f.read())
    if len(frames) < frame_count:
        fail("%s holds %d audio frames, %d needed"
             % (mp3_path, len(frames), frame_count))
    data = b"".join(frames[:frame_count])
    fmt = struct.pack("<HHIIHHH", WAVE_FORMAT_MPEGLAYER3, 1, SAMPLE_RATE,
                      MP3_AVG_BYTES_PER_SEC, 1, 0, 12)
    fmt += struct.pack("<HIHHH", MPEGLAYER3_ID_MPEG, MPEGLAYER3_FLAG_PADDING_OFF,
                       MP3_FRAME_BYTES, 1, MP3_CODEC_DELAY)
    fact = struct.pack("<I", frame_count * MP3_SAMPLES_PER_FRAME)
    wave = riff_wave([chunk(b"fmt ", fmt), chunk(b"fact", fact),
                      chunk(b"data", data)])
    with open(out_path, "wb") as f:
        f.write(wave)
    return len(wave), len(frames)


def main(argv):
    if len(argv) == 4 and argv[1] == "pcm8":
        size = write_pcm8(argv[2], argv[3])
        print("%s: %d bytes" % (argv[3], size))
    elif len(argv) == 5 and argv[1] == "mp3":
        size, available = write_mp3(argv[2], argv[3], int(argv[4]))
        print("%s: %d bytes, %s of %d MP3 frames kept"
              % (argv[3], size, argv[4], available))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
