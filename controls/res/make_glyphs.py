#!/usr/bin/env python3
"""Draws the controls' bitmap resources and writes them as BMP files.

Each picture is drawn once as rows of RGB tuples; a resource names the
picture, the size and the bits per pixel it is stored with (4: the 16
standard colours, 8: a palette of the colours used, 24: true colour).
The bottom-left pixel of every picture is its transparent colour.

Usage: make_glyphs.py [OUTPUT-FOLDER]   (default: the folder of this script)
"""
import math
import os
import struct
import sys

TRANSPARENT = (255, 0, 255)
STANDARD_16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
               (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
               (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]

# The help symbol: a round badge with a white "i".
LETTER_I = ["..##..", "..##..", "......", ".###..", "..##..", "..##..", "..##..", "..##..", ".####."]


def help_glyph(true_colour):
    size, centre, radius = 17, 8.0, 7.6
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            d = math.hypot(x - centre, y - centre)
            if d > radius:
                row.append(TRANSPARENT)
            elif d > radius - 1.2:
                row.append((0, 60, 140) if true_colour else (0, 0, 128))
            elif true_colour:
                shade = y / (size - 1)
                row.append((int(70 - 50 * shade), int(150 - 70 * shade), int(240 - 60 * shade)))
            else:
                row.append((0, 0, 255))
        rows.append(row)
    for dy, line in enumerate(LETTER_I):
        for dx, c in enumerate(line):
            if c == "#":
                rows[4 + dy][6 + dx] = (255, 255, 255)
    return rows


RESOURCES = [
    ("ZXHB_GLYPH_16", lambda: help_glyph(False), 4),
    ("ZXHB_GLYPH_256", lambda: help_glyph(True), 24),
]


def nearest(palette, colour):
    return min(range(len(palette)), key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], colour)))


def bmp(rows, bits):
    height, width = len(rows), len(rows[0])
    if bits == 4:
        palette = STANDARD_16
    elif bits == 8:
        palette = sorted({c for row in rows for c in row})[:256]
    else:
        palette = []
    stride = (width * bits + 31) // 32 * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        if bits == 24:
            for r, g, b in row:
                line += bytes((b, g, r))
        elif bits == 8:
            line += bytes(nearest(palette, c) for c in row)
        else:
            indexes = [nearest(palette, c) for c in row] + [0]
            line += bytes(indexes[i] << 4 | indexes[i + 1] for i in range(0, width, 2))
        data += line + bytes(stride - len(line))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 3780, 3780,
                         len(palette), 0)
    offset = 14 + len(header) + len(table)
    return struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset) + header + table + data


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for name, draw, bits in RESOURCES:
        with open(os.path.join(out, name + ".bmp"), "wb") as f:
            f.write(bmp(draw(), bits))


if __name__ == "__main__":
    main()
