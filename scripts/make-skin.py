#!/usr/bin/env python3
"""Draws the "Blue" skin of the main window's frame and writes one GIF per picture.

usage: make-skin.py OUTPUT_FOLDER

Every picture is drawn here from rectangles and a few pixel glyphs; the same files are built
into the program as its own pictures, so the window looks the same without a Skinz folder.
"""
import os
import struct
import sys

PALETTE = [
    (192, 192, 192),  # 0 the window's background
    (16, 48, 112),    # 1 dark blue
    (32, 96, 192),    # 2 blue
    (96, 150, 230),   # 3 light blue
    (255, 255, 255),  # 4 white
    (200, 40, 40),    # 5 red
    (64, 64, 64),     # 6 dark grey
    (0, 0, 0),        # 7 black
]

GLYPHS = {  # 7 by 7, drawn in white on the button
    "imgTitleClose": ["X.....X", ".X...X.", "..X.X..", "...X...", "..X.X..", ".X...X.", "X.....X"],
    "imgTitleMinimize": [".......", ".......", ".......", ".......", ".......", "XXXXXXX", "XXXXXXX"],
    "imgTitleMaximize": ["XXXXXXX", "XXXXXXX", "X.....X", "X.....X", "X.....X", "X.....X", "XXXXXXX"],
    "imgTitleRestore": ["..XXXXX", "..X...X", "XXXXX.X", "XXXXX.X", "X...XXX", "X...X..", "XXXXX.."],
    "imgTitleHelp": ["..XXX..", ".X...X.", ".....X.", "...XX..", "...X...", ".......", "...X..."],
}


def title(width, height=30):
    """The title bar: a band of blues, darker at the top."""
    rows = []
    for y in range(height):
        color = 1 if y < 3 else 2 if y < 20 else 3 if y < height - 2 else 1
        rows.append([color] * width)
    return rows


def side(left_edge, width=19, height=8):
    """A side border: a blue edge on the outside, the window's background inside."""
    rows = []
    for _ in range(height):
        row = [0] * width
        for x in range(4):
            row[x if left_edge else width - 1 - x] = 1 if x == 0 else 2
        rows.append(row)
    return rows


def bottom(width, corner=None, height=30):
    """The bottom border: the background, then a blue band at the bottom edge."""
    rows = []
    for y in range(height):
        row = [0] * width
        if y >= height - 4:
            row = [1 if y == height - 1 else 2] * width
        rows.append(row)
    if corner:
        for row in rows[:-4]:
            for x in range(4):
                row[x if corner == "left" else width - 1 - x] = 1 if x == 0 else 2
    return rows


def button(name, size=15):
    face = 5 if name == "imgTitleClose" else 2
    rows = [[7 if x in (0, size - 1) or y in (0, size - 1) else face for x in range(size)] for y in range(size)]
    for gy, line in enumerate(GLYPHS[name]):
        for gx, ch in enumerate(line):
            if ch == "X":
                rows[4 + gy][4 + gx] = 4
    return rows


PICTURES = {
    "imgTitleLeft": title(19),
    "imgTitleMain": title(19),
    "imgTitleRight": title(19),
    "imgWindowLeft": side(True),
    "imgWindowRight": side(False),
    "imgWindowBottomLeft": bottom(19, "left"),
    "imgWindowBottom": bottom(19),
    "imgWindowBottomRight": bottom(19, "right"),
}
for glyph in GLYPHS:
    PICTURES[glyph] = button(glyph)


def lzw(pixels):
    """GIF image data with 8-bit codes sent as 9-bit literals, a clear code every 254 pixels,
    so that the code table never grows past 9 bits."""
    clear, end = 256, 257
    codes = []
    for i, p in enumerate(pixels):
        if i % 254 == 0:
            codes.append(clear)
        codes.append(p)
    codes.append(end)
    data, acc, bits = bytearray(), 0, 0
    for code in codes:
        acc |= code << bits
        bits += 9
        while bits >= 8:
            data.append(acc & 0xFF)
            acc >>= 8
            bits -= 8
    if bits:
        data.append(acc & 0xFF)
    blocks = bytearray([8])
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        blocks += bytes([len(chunk)]) + chunk
    return bytes(blocks + b"\x00")


def gif(rows):
    height, width = len(rows), len(rows[0])
    table = b"".join(bytes(c) for c in PALETTE) + b"\x00" * (3 * (256 - len(PALETTE)))
    header = b"GIF89a" + struct.pack("<HHBBB", width, height, 0xF7, 0, 0) + table
    image = b"," + struct.pack("<HHHHB", 0, 0, width, height, 0)
    return header + image + lzw([p for row in rows for p in row]) + b";"


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, rows in PICTURES.items():
        with open(os.path.join(out, name + ".gif"), "wb") as f:
            f.write(gif(rows))


if __name__ == "__main__":
    main()
