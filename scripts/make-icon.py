#!/usr/bin/env python3
"""Draws Tracksweep's icon and writes it as one .ico holding every size Windows asks for.

usage: make-icon.py OUTPUT_FILE

The picture: a blue disc, and across it a white sweep that wipes away a trail of fading dots
(the tracks). Each size is drawn anew from the shapes, smoothed by sampling every pixel several
times, so that the small sizes stay sharp rather than shrunk. Sizes up to 64 pixels are stored as
32-bit bitmaps (which every Windows reads), 256 pixels as PNG (as Windows Vista and later expect).
Only the standard library is used.
"""
import math
import struct
import sys
import zlib

SIZES = [16, 20, 24, 32, 40, 48, 64, 256]

TOP = (70, 140, 235)     # the disc's colour at its top
BOTTOM = (16, 48, 120)   # and at its bottom
RIM = (10, 30, 80)       # its edge
WHITE = (255, 255, 255)
TRACK = (255, 200, 60)   # the dots the sweep takes away


def blend(under, over, alpha):
    """over laid on under with the given coverage (0..1); colours with alpha are (r, g, b, a)."""
    a = over[3] * alpha
    out_a = a + under[3] * (1 - a)
    if out_a <= 0:
        return (0, 0, 0, 0.0)
    rgb = tuple((over[i] * a + under[i] * under[3] * (1 - a)) / out_a for i in range(3))
    return rgb + (out_a,)


def sample(x, y, size):
    """The colour (r, g, b, a) at a point of the unit square, y downwards."""
    colour = (0, 0, 0, 0.0)
    dx, dy = x - 0.5, y - 0.5
    d = math.hypot(dx, dy)
    # A thicker rim at the small sizes, where a hairline would vanish.
    rim = max(0.035, 1.2 / size)
    if d <= 0.47:
        colour = RIM + (1.0,)
        if d <= 0.47 - rim:
            t = min(1.0, max(0.0, y))
            colour = tuple(TOP[i] + (BOTTOM[i] - TOP[i]) * t for i in range(3)) + (1.0,)
    else:
        return colour
    # The trail: three dots, each fainter, along the upper left.
    for i, (cx, cy, r) in enumerate([(0.42, 0.27, 0.07), (0.59, 0.25, 0.055), (0.73, 0.29, 0.042)]):
        if math.hypot(x - cx, y - cy) <= max(r, 0.9 / size):
            colour = blend(colour, TRACK + (1.0,), 1.0 - 0.28 * i)
    # The sweep: a broad white arc from lower left to the right, thinning at its tip.
    ax, ay = 0.18, 1.02
    ra = math.hypot(x - ax, y - ay)
    angle = math.atan2(ay - y, x - ax)  # 0 to the right, up is positive
    if 0.35 <= angle <= 1.45:
        along = (1.45 - angle) / 1.1  # 0 at the top end, 1 at the right end
        half = max(0.035 + 0.075 * (1 - along), 0.9 / size)
        if abs(ra - 0.58) <= half:
            colour = blend(colour, WHITE + (1.0,), 1.0)
    return colour


def draw(size):
    """Rows of (r, g, b, a) bytes, top row first."""
    grid = 4 if size <= 64 else 2
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(grid):
                for sx in range(grid):
                    r, g, b, a = sample((px + (sx + 0.5) / grid) / size, (py + (sy + 0.5) / grid) / size, size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = grid * grid
            alpha = acc[3] / n
            if alpha > 0:
                rgb = tuple(int(round(min(255, c / acc[3]))) for c in acc[:3])
            else:
                rgb = (0, 0, 0)
            row.append(rgb + (int(round(alpha * 255)),))
        rows.append(row)
    return rows


def bitmap_image(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + pixels + bytes(mask)


def png_image(rows):
    size = len(rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    images = [(size, png_image(draw(size)) if size >= 256 else bitmap_image(draw(size))) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        side = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
