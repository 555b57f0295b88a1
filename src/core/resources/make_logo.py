#!/usr/bin/env python3
"""Draws the about box's logo as a 24-bit BMP file into this folder.

Run once by hand after changing the picture; the BMP is kept in the repository and compiled into
the program through Configurator.qrc. The logo is a blue disc with two white arrows, one each
way: the converter between its two sides.
"""

import os
import struct

SIZE = 81
BACK = (248, 247, 237)  # the forms' colour
BLUE = (40, 110, 210)
DARK = (20, 60, 150)
WHITE = (255, 255, 255)


def pixel(x, y):
    cx = cy = (SIZE - 1) / 2
    d2 = (x - cx) ** 2 + (y - cy) ** 2
    if d2 > 39 ** 2:
        return BACK
    if d2 > 36 ** 2:
        return DARK
    # upper arrow to the right, lower arrow to the left
    for row, right in ((29, True), (51, False)):
        dy = abs(y - row)
        shaft = 18 <= x <= 62 and dy <= 2
        tip_x = 66 if right else 14
        head_len = 12
        along = (tip_x - x) if right else (x - tip_x)
        head = 0 <= along <= head_len and dy <= along * 0.75
        if shaft or head:
            return WHITE
    return BLUE


def main():
    row_size = (SIZE * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(SIZE - 1, -1, -1):
        row = bytearray()
        for x in range(SIZE):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        pixels += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "ABOUT_LOGO.bmp"), "wb") as f:
        f.write(header + info + pixels)


if __name__ == "__main__":
    main()
