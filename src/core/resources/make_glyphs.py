#!/usr/bin/env python3
"""Draws the glyphs of the configurator's step and page buttons as 24-bit BMP files into this
folder.

Run once by hand after changing a picture; the BMP files are kept in the repository and compiled
into the program through Configurator.qrc. Every glyph is drawn on the key colour (magenta): the
button takes its lower-left pixel as the transparent colour.
"""

import os
import struct

SIZE = 24
KEY = (255, 0, 255)
BLACK = (40, 40, 40)
WHITE = (255, 255, 255)
BLUE = (40, 110, 210)
DBLUE = (20, 60, 150)
YELLOW = (240, 200, 60)
BROWN = (180, 130, 40)
GREEN = (40, 160, 60)
GREY = (120, 120, 120)
SILVER = (200, 200, 200)


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def frame(x0, y0, x1, y1):
    return lambda x, y: rect(x0, y0, x1, y1)(x, y) and not rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1)(x, y)


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def line(x0, y0, x1, y1, w=1.0):
    def f(x, y):
        dx, dy = x1 - x0, y1 - y0
        l2 = dx * dx + dy * dy
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / l2)) if l2 else 0.0
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= w * w
    return f


def arrow_right(x0, y, x1, head=5):
    return lambda x, yy: line(x0, y, x1 - 1, y, 1.2)(x, yy) or (x1 - head <= x <= x1 and abs(yy - y) <= (x1 - x))


def arrow_left(x0, y, x1, head=5):
    return lambda x, yy: line(x0 + 1, y, x1, y, 1.2)(x, yy) or (x0 <= x <= x0 + head and abs(yy - y) <= (x - x0))


# Each glyph: layers painted in order, later ones on top.
GLYPHS = {
    # a sheet with a plus
    "STEP_NEW": [(rect(5, 2, 17, 21), WHITE), (frame(5, 2, 17, 21), BLACK),
                 (rect(14, 13, 16, 21), GREEN), (rect(11, 16, 19, 18), GREEN), (rect(14, 13, 16, 21), GREEN)],
    # an open folder
    "STEP_OPEN": [(rect(2, 6, 10, 8), BROWN), (rect(2, 8, 20, 19), YELLOW), (frame(2, 8, 20, 19), BROWN),
                  (lambda x, y: 11 <= y <= 19 and 5 + (y - 11) // 3 <= x <= 22 - (19 - y) // 4, BROWN),
                  (lambda x, y: 12 <= y <= 18 and 6 + (y - 11) // 3 <= x <= 21 - (19 - y) // 4, YELLOW)],
    # a serial plug and an Ethernet socket: the converter's two sides
    "STEP_PARGEN": [(rect(2, 7, 10, 16), GREY), (frame(2, 7, 10, 16), BLACK),
                    (rect(4, 10, 4, 10), BLACK), (rect(6, 10, 6, 10), BLACK), (rect(8, 10, 8, 10), BLACK),
                    (rect(5, 13, 5, 13), BLACK), (rect(7, 13, 7, 13), BLACK),
                    (rect(13, 6, 21, 17), BLUE), (frame(13, 6, 21, 17), DBLUE), (rect(15, 9, 19, 14), DBLUE)],
    # three nodes on a bus
    "STEP_NETWORK": [(line(3, 12, 21, 12, 1.0), BLACK), (line(6, 12, 6, 6, 1.0), BLACK),
                     (line(18, 12, 18, 6, 1.0), BLACK), (line(12, 12, 12, 18, 1.0), BLACK),
                     (disc(6, 5, 3), BLUE), (disc(18, 5, 3), BLUE), (disc(12, 19, 3), GREEN)],
    # an arrow down into a chip
    "STEP_UPDATE": [(rect(5, 14, 18, 21), BLACK), (rect(7, 16, 16, 19), GREY),
                    (rect(10, 2, 13, 8), GREEN),
                    (lambda x, y: 8 <= y <= 13 and abs(x - 11.5) <= (13 - y) + 0.5, GREEN)],
    "PAGE_PREV": [(arrow_left(4, 12, 20, 7), BLUE)],
    "PAGE_NEXT": [(arrow_right(4, 12, 20, 7), BLUE)],
}


def write(name, layers):
    row_size = (SIZE * 3 + 3) & ~3
    data = bytearray()
    for y in range(SIZE - 1, -1, -1):
        row = bytearray()
        for x in range(SIZE):
            colour = KEY
            for shape, c in layers:
                if shape(x, y):
                    colour = c
            r, g, b = colour
            row += bytes((b, g, r))
        data += row + b"\0" * (row_size - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), name + ".bmp"), "wb") as f:
        f.write(header + info + data)


def main():
    for name, layers in GLYPHS.items():
        write(name, layers)


if __name__ == "__main__":
    main()
