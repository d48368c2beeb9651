#!/usr/bin/env python3
"""Draws Vantorel's program icon and writes it as res/vantorel.ico.

The icon file holds one 32 x 32 image in 16 colours (4 bits per pixel): an
ICONDIR, one ICONDIRENTRY, then a BITMAPINFOHEADER (height 64: colour and
mask rows together), the 16-entry palette, the colour rows and the 1-bit
transparency mask, both stored bottom row first.

The picture is a stopwatch: a blue case with a crown and a side button, a
white dial with twelve marks, a red sector for the time still to run and a
black hand.
"""

import math
import os
import struct
import sys

SIZE = 32

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, MAROON, NAVY, SILVER, GRAY, RED, BLUE, WHITE = 0, 1, 4, 7, 8, 9, 12, 15
CLEAR = None  # transparent: colour index 0 with the mask bit set

CENTRE_X, CENTRE_Y = 16.0, 18.0
CASE_RADIUS = 13.2
DIAL_RADIUS = 10.6
SECTOR_RADIUS = 8.6
SECTOR_END_DEGREES = 130.0  # clockwise from twelve o'clock


def polar(x, y):
    """Distance from the dial's centre and clockwise angle from twelve."""
    dx = x + 0.5 - CENTRE_X
    dy = y + 0.5 - CENTRE_Y
    angle = math.degrees(math.atan2(dx, -dy)) % 360.0
    return math.hypot(dx, dy), angle


def on_segment(x, y, x0, y0, x1, y1, half_width):
    px, py = x + 0.5, y + 0.5
    vx, vy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((px - x0) * vx + (py - y0) * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - (x0 + t * vx), py - (y0 + t * vy)) <= half_width


def draw():
    image = [[CLEAR] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            r, angle = polar(x, y)
            if r <= CASE_RADIUS:
                image[y][x] = NAVY if r > CASE_RADIUS - 1.0 else BLUE
            if r <= DIAL_RADIUS:
                image[y][x] = GRAY if r > DIAL_RADIUS - 0.8 else WHITE
            if r <= SECTOR_RADIUS and angle <= SECTOR_END_DEGREES:
                image[y][x] = RED

    # Twelve marks on the dial; the quarters are longer and black.
    for mark in range(12):
        a = math.radians(mark * 30)
        inner = 7.6 if mark % 3 == 0 else 8.6
        x0 = CENTRE_X + inner * math.sin(a)
        y0 = CENTRE_Y - inner * math.cos(a)
        x1 = CENTRE_X + 9.6 * math.sin(a)
        y1 = CENTRE_Y - 9.6 * math.cos(a)
        colour = BLACK if mark % 3 == 0 else GRAY
        for y in range(SIZE):
            for x in range(SIZE):
                if on_segment(x, y, x0, y0, x1, y1, 0.55):
                    image[y][x] = colour

    # The hand at the edge of the red sector, and the hub.
    a = math.radians(SECTOR_END_DEGREES)
    tip_x = CENTRE_X + 8.0 * math.sin(a)
    tip_y = CENTRE_Y - 8.0 * math.cos(a)
    for y in range(SIZE):
        for x in range(SIZE):
            if on_segment(x, y, CENTRE_X, CENTRE_Y, tip_x, tip_y, 0.75):
                image[y][x] = BLACK
            if polar(x, y)[0] <= 1.6:
                image[y][x] = MAROON

    # Crown on top (stem and knob) and a button at one o'clock.
    for y in range(0, 5):
        for x in range(13, 19):
            if y <= 2:
                image[y][x] = NAVY if y == 0 or x in (13, 18) else SILVER
            elif 15 <= x <= 16:
                image[y][x] = GRAY
    for y in range(SIZE):
        for x in range(SIZE):
            if on_segment(x, y, 24.2, 7.6, 26.6, 5.2, 1.3) and image[y][x] is CLEAR:
                image[y][x] = GRAY if on_segment(x, y, 24.2, 7.6, 26.6, 5.2, 0.6) else NAVY
    return image


def encode(image):
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(image):
        for x in range(0, SIZE, 2):
            hi = row[x] if row[x] is not CLEAR else 0
            lo = row[x + 1] if row[x + 1] is not CLEAR else 0
            xor.append((hi << 4) | lo)
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | (1 if row[x] is CLEAR else 0)
        mask += struct.pack(">I", bits)  # 32 pixels: one DWORD, no padding
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 16, 0)
    bitmap = header + palette + bytes(xor) + bytes(mask)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(bitmap),
                        len(icondir) + 16)
    return icondir + entry + bitmap


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "vantorel.ico")
    data = encode(draw())
    with open(out, "wb") as f:
        f.write(data)
    print("%s: %d bytes" % (out, len(data)))


if __name__ == "__main__":
    main()
