#!/usr/bin/env python3
"""Draws the plug-in's own pictures and writes them as BMP and ICO files.

The help box's glyph pair is drawn by controls/res/make_glyphs.py; this
script draws the rest of the library's pictures with the same BMP writer:
the small pictures kept beside the help box's glyphs, the 20 x 20 glyph of
the "Insert Variable" buttons, and the 32 x 32 picture of the About box,
written once as a 256-colour bitmap (what the About box shows) and once as
the library's icon. The bottom-left pixel of every bitmap is its
transparent colour.

Usage: make_resources.py [OUTPUT-FOLDER]   (default: the folder of this script)
"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "controls", "res"))
from make_glyphs import TRANSPARENT, bmp  # noqa: E402

NAVY, BLUE, TEAL = (0, 0, 128), (0, 0, 255), (0, 128, 128)
WHITE, BLACK, GREY, SILVER = (255, 255, 255), (0, 0, 0), (128, 128, 128), (192, 192, 192)
CARD_BODY, CARD_TAB = (255, 255, 225), (214, 214, 198)


def canvas(width, height, colour=TRANSPARENT):
    return [[colour] * width for _ in range(height)]


def fill(rows, x0, y0, x1, y1, colour):
    for y in range(y0, y1):
        for x in range(x0, x1):
            rows[y][x] = colour


def outline(rows, x0, y0, x1, y1, colour):
    for x in range(x0, x1):
        rows[y0][x] = rows[y1 - 1][x] = colour
    for y in range(y0, y1):
        rows[y][x0] = rows[y][x1 - 1] = colour


def stamp(rows, x0, y0, pattern, colour):
    for dy, line in enumerate(pattern):
        for dx, c in enumerate(line):
            if c == "#":
                rows[y0 + dy][x0 + dx] = colour


# 3 x 5 letters for the small banners.
FONT = {
    "C": ["###", "#..", "#..", "#..", "###"], "M": ["#.#", "###", "###", "#.#", "#.#"],
    "D": ["##.", "#.#", "#.#", "#.#", "##."], "H": ["#.#", "#.#", "###", "#.#", "#.#"],
    "E": ["###", "#..", "##.", "#..", "###"], "L": ["#..", "#..", "#..", "#..", "###"],
    "P": ["###", "#.#", "###", "#..", "#.."], "?": ["###", "..#", ".##", "...", ".#."],
}


def banner(text, true_colour):
    """44 x 11: a rounded bar with a short word, for a help box's tab."""
    rows = canvas(44, 11)
    body = (70, 120, 200) if true_colour else NAVY
    fill(rows, 1, 1, 43, 10, body)
    fill(rows, 0, 2, 44, 9, body)
    x = 4
    for letter in text:
        stamp(rows, x, 3, FONT[letter], WHITE)
        x += 4
    return rows


def card(mark, mark_colour):
    """20 x 20: a file card with a tab, as the help and info boxes look."""
    rows = canvas(20, 20)
    fill(rows, 1, 2, 9, 6, CARD_TAB)
    outline(rows, 1, 2, 9, 6, GREY)
    fill(rows, 1, 5, 19, 18, CARD_BODY)
    outline(rows, 1, 5, 19, 18, GREY)
    stamp(rows, 8, 7, mark, mark_colour)
    return rows


def panel_picture():
    """20 x 20: a group panel with its caption band."""
    rows = canvas(20, 20)
    fill(rows, 1, 2, 19, 18, SILVER)
    outline(rows, 1, 2, 19, 18, GREY)
    fill(rows, 2, 3, 12, 7, BLUE)
    fill(rows, 4, 10, 17, 14, WHITE)
    outline(rows, 4, 10, 17, 14, GREY)
    return rows


def preview_picture():
    """16 x 16: a magnifying glass."""
    rows = canvas(16, 16)
    for y in range(16):
        for x in range(16):
            d = math.hypot(x - 6, y - 6)
            if 3.6 < d <= 5.2:
                rows[y][x] = NAVY
            elif d <= 3.6:
                rows[y][x] = (0, 255, 255)
    for i in range(4):
        fill(rows, 10 + i, 10 + i, 12 + i, 12 + i, BLACK)
    return rows


def insert_variable_glyph():
    """20 x 20, true colour: a variable in square brackets and a green arrow
    pointing into it, the host's way of writing a variable."""
    rows = canvas(20, 20)
    ink = (30, 60, 140)
    for y in range(3, 17):
        rows[y][2] = rows[y][3] = rows[y][16] = rows[y][17] = ink
    for x in (4, 5):
        rows[3][x] = rows[16][x] = ink
    for x in (14, 15):
        rows[3][x] = rows[16][x] = ink
    letter_x = ["#...#", ".#.#.", "..#..", ".#.#.", "#...#"]
    stamp(rows, 7, 10, letter_x, (40, 40, 40))
    arrow = (20, 150, 40)
    fill(rows, 9, 4, 11, 8, arrow)
    for i, half in enumerate((3, 2, 1)):
        fill(rows, 10 - half, 6 + i, 10 + half, 7 + i, arrow)
    return rows


def about_picture():
    """32 x 32, few colours: a blue tile with axes and a white wave and its
    dashed derivative, the plug-in's two actions."""
    rows = canvas(32, 32)
    steps = [(20, 60, 150), (30, 80, 170), (40, 100, 190), (50, 120, 210)]
    for y in range(32):
        for x in range(32):
            cx, cy = min(x, 31 - x), min(y, 31 - y)
            if cx + cy < 3 and (cx < 2 and cy < 2) and not (cx == 1 and cy == 1):
                continue  # rounded corners stay transparent
            rows[y][x] = steps[min(3, (x + y) // 16)]
    axis = (200, 215, 235)
    fill(rows, 4, 16, 28, 17, axis)
    fill(rows, 6, 4, 7, 28, axis)
    for x in range(6, 28):
        t = (x - 6) / 21 * 2 * math.pi
        y = round(16 - 8 * math.sin(t))
        rows[y][x] = WHITE
        rows[y + 1][x] = WHITE
        if x % 3 != 2:
            rows[round(16 - 8 * math.cos(t))][x] = (255, 200, 40)
    return rows


def ico(rows):
    """One 32 x 32 image of 256 colours in an icon file: a full palette of
    256 entries, the bits, then the mask of the transparent pixels."""
    size = len(rows)
    palette = sorted({c for row in rows for c in row})
    palette += [(0, 0, 0)] * (256 - len(palette))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, 0, 0, 0, 0, 0)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    bits = b"".join(bytes(palette.index(c) for c in row) for row in reversed(rows))
    mask_stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, colour in enumerate(row):
            if colour == TRANSPARENT:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    image = header + table + bits + bytes(mask)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(image), 22)
    return struct.pack("<HHH", 0, 1, 1) + entry + image


BITMAPS = [
    ("ZXHCB_GLYPH_16", lambda: banner("CMD", False), 4),
    ("ZXHCB_GLYPH_256", lambda: banner("CMD", True), 8),
    ("ZXHH_GLYPH_16", lambda: banner("HELP", False), 4),
    ("ZXHH_GLYPH_256", lambda: banner("HELP", True), 8),
    ("PREVIEWGLYPH", preview_picture, 4),
    ("TZORVEXHELPBOX", lambda: card(["#", ".", "#", "#", "#", "#"], BLUE), 4),
    ("TZORVEXINFOBOX", lambda: card(["#", "#", "#", "#", ".", "#"], (128, 0, 0)), 4),
    ("TZORVEXPANEL", panel_picture, 4),
    ("VKTINSERTVARIABLE", insert_variable_glyph, 24),
    ("VKTABOUTPICTURE", about_picture, 8),
]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for name, draw, bits in BITMAPS:
        with open(os.path.join(out, name + ".bmp"), "wb") as f:
            f.write(bmp(draw(), bits))
    with open(os.path.join(out, "vktQuantaro.ico"), "wb") as f:
        f.write(ico(about_picture()))


if __name__ == "__main__":
    main()
