#!/usr/bin/env python3
"""Draws the grid's glyph bitmaps (check boxes, radio buttons, node buttons, the filter button and
the tones style's glyphs) as BMP files into this folder.

Run once by hand after changing a picture; the BMP files are kept in the repository and compiled
into the program through ExtGridGlyphs.qrc. Each picture is drawn on its key colour, so that its
lower-left pixel, the colour drawn transparent, is background. The grid's XP check boxes are
drawn pixel for pixel as the grid's users know them; the others keep their sizes and states.
"""

import os
import struct

OLIVE = (128, 128, 0)
MAGENTA = (255, 0, 255)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GRAY = (128, 128, 128)
SILVER = (192, 192, 192)
XP_FRAME = (0x1C, 0x51, 0x80)
XP_DISABLED = (0xCA, 0xC8, 0xBB)
XP_TICK = (0x21, 0xA1, 0x21)

# The tick of the XP check boxes, pixel for pixel.
XP_TICK_PIXELS = [(10, 4), (9, 5), (10, 5), (4, 6), (8, 6), (9, 6), (10, 6), (4, 7), (5, 7), (7, 7), (8, 7),
                  (9, 7), (4, 8), (5, 8), (6, 8), (7, 8), (8, 8), (5, 9), (6, 9), (7, 9), (6, 10)]


class Picture:
    def __init__(self, w, h, key):
        self.w, self.h = w, h
        self.px = [[key] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def fill(self, x, y, w, h, c):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.set(xx, yy, c)

    def frame(self, x, y, w, h, c):
        self.fill(x, y, w, 1, c)
        self.fill(x, y + h - 1, w, 1, c)
        self.fill(x, y, 1, h, c)
        self.fill(x + w - 1, y, 1, h, c)

    def disc(self, cx, cy, r, c):
        for y in range(self.h):
            for x in range(self.w):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def ring(self, cx, cy, r_in, r_out, colour_of):
        for y in range(self.h):
            for x in range(self.w):
                d2 = (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2
                if r_in * r_in < d2 <= r_out * r_out:
                    self.set(x, y, colour_of(x, y))


def lerp(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t + 0.5) for i in range(3))


# ---- check boxes -------------------------------------------------------------------------------

def xp_check(checked, enabled):
    p = Picture(16, 16, MAGENTA)
    frame = XP_FRAME if enabled else XP_DISABLED
    p.frame(1, 1, 13, 13, frame)
    start = (0xE2, 0xE2, 0xDD) if checked else (0xDC, 0xDC, 0xD7)
    for y in range(2, 13):
        for x in range(2, 13):
            p.set(x, y, lerp(start, WHITE, ((x - 2) + (y - 2)) / 20.0) if enabled else WHITE)
    if checked:
        for x, y in XP_TICK_PIXELS:
            p.set(x, y, XP_TICK if enabled else XP_DISABLED)
    return p


def sunken_check(checked, enabled):
    p = Picture(20, 20, OLIVE)
    p.fill(4, 4, 12, 1, GRAY)
    p.fill(4, 4, 1, 12, GRAY)
    p.fill(4, 15, 12, 1, WHITE)
    p.fill(15, 4, 1, 12, WHITE)
    p.fill(5, 5, 10, 1, BLACK)
    p.fill(5, 5, 1, 10, BLACK)
    p.fill(5, 14, 10, 1, SILVER)
    p.fill(14, 5, 1, 10, SILVER)
    for y in range(6, 14):
        for x in range(6, 14):
            p.set(x, y, WHITE if enabled or (x + y) % 2 else SILVER)
    if checked:
        colour = BLACK if enabled else GRAY
        for i, drop in enumerate([2, 3, 4, 3, 2, 1, 0]):
            p.fill(6 + i, 7 + drop, 1, 3, colour)
    return p


# ---- radio buttons -----------------------------------------------------------------------------

def xp_radio(selected, enabled):
    p = Picture(16, 16, MAGENTA)
    rim = (0x7A, 0x98, 0xAF) if enabled else XP_DISABLED
    p.disc(8, 8, 6, rim)
    p.disc(8, 8, 5, (0xF4, 0xF4, 0xF0) if enabled else WHITE)
    if selected:
        p.disc(8, 8, 2.6, XP_TICK if enabled else GRAY)
    return p


def sunken_radio(selected, enabled):
    p = Picture(16, 16, OLIVE)
    # The upper-left half of the rim is shadowed, the lower-right half lit.
    p.ring(8, 8, 5, 6, lambda x, y: GRAY if x + y < 15 else WHITE)
    p.ring(8, 8, 4, 5, lambda x, y: BLACK if x + y < 15 else SILVER)
    p.disc(8, 8, 4, WHITE if enabled else SILVER)
    if selected:
        p.disc(8, 8, 2, BLACK if enabled else GRAY)
    return p


# ---- node buttons ------------------------------------------------------------------------------

def leaf_node(expanded):
    p = Picture(16, 16, MAGENTA)
    p.frame(3, 3, 9, 9, GRAY)
    p.fill(4, 4, 7, 7, WHITE)
    p.fill(5, 7, 5, 1, BLACK)
    if not expanded:
        p.fill(7, 5, 1, 5, BLACK)
    return p


def xp_node(expanded):
    p = Picture(9, 9, MAGENTA)
    p.frame(0, 0, 9, 9, (0x7A, 0x98, 0xAF))
    for y in range(1, 8):
        p.fill(1, y, 7, 1, (255 - y * 3, 255 - y * 3, 250 - y * 4))
    p.fill(2, 4, 5, 1, BLACK)
    if not expanded:
        p.fill(4, 2, 1, 5, BLACK)
    return p


# ---- filter button and the tones style's glyphs --------------------------------------------------

def filter_button():
    p = Picture(16, 16, MAGENTA)
    p.fill(1, 1, 14, 14, SILVER)
    p.fill(1, 0, 14, 1, WHITE)
    p.fill(0, 1, 1, 14, WHITE)
    p.fill(1, 15, 15, 1, GRAY)
    p.fill(15, 1, 1, 14, GRAY)
    # The funnel: a black outline, a gray mouth and the stem.
    for i, (x0, x1) in enumerate([(4, 11), (5, 10), (6, 9), (7, 8)]):
        p.fill(x0, 4 + i, x1 - x0 + 1, 1, BLACK)
    p.fill(6, 5, 4, 1, GRAY)
    p.fill(7, 8, 2, 4, BLACK)
    return p


def metro_check(checked):
    p = Picture(16, 16, MAGENTA)
    dark = (0x33, 0x33, 0x33)
    p.frame(1, 1, 14, 14, dark)
    p.fill(2, 2, 12, 12, WHITE)
    if checked:
        for x, y in [(4, 8), (5, 9), (6, 10), (7, 11), (8, 10), (9, 9), (10, 8), (11, 7), (12, 6)]:
            p.fill(x, y, 1, 2, dark)
    return p


def metro_radio(on):
    p = Picture(16, 16, MAGENTA)
    dark = (0x33, 0x33, 0x33)
    p.disc(8, 8, 7, dark)
    p.disc(8, 8, 6, WHITE)
    if on:
        p.disc(8, 8, 3, dark)
    return p


# ---- BMP writer ------------------------------------------------------------------------------------

def write_bmp(path, pic, bits):
    w, h = pic.w, pic.h
    if bits == 24:
        palette = []
        row_bytes = (w * 3 + 3) & ~3
    else:
        palette = []
        for row in pic.px:
            for c in row:
                if c not in palette:
                    palette.append(c)
        if len(palette) > (1 << bits):
            raise SystemExit(f"{path}: {len(palette)} colours do not fit {bits} bits")
        palette += [BLACK] * ((1 << bits) - len(palette))
        row_bytes = ((w * bits + 31) // 32) * 4
    pixels = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        if bits == 24:
            for c in pic.px[y]:
                row += bytes((c[2], c[1], c[0]))
        elif bits == 8:
            row += bytes(palette.index(c) for c in pic.px[y])
        else:
            idx = [palette.index(c) for c in pic.px[y]] + [0]
            for x in range(0, w, 2):
                row.append((idx[x] << 4) | (idx[x + 1] if x + 1 < w else 0))
        row += bytes(row_bytes - len(row))
        pixels += row
    table = b"".join(bytes((c[2], c[1], c[0], 0)) for c in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(pixels), 3780, 3780, len(palette), 0)
    with open(path, "wb") as f:
        f.write(header + info + table + pixels)


GLYPHS = [
    ("ESGCHK01", sunken_check(True, True), 4),
    ("ESGCHK02", sunken_check(False, True), 4),
    ("ESGCHK03", sunken_check(True, False), 4),
    ("ESGCHK04", sunken_check(False, False), 4),
    ("ESGCHK05", xp_check(True, True), 24),
    ("ESGCHK06", xp_check(False, True), 24),
    ("ESGCHK07", xp_check(True, False), 24),
    ("ESGCHK08", xp_check(False, False), 24),
    ("ESGRAD01", sunken_radio(True, True), 4),
    ("ESGRAD02", sunken_radio(False, True), 4),
    ("ESGRAD03", sunken_radio(True, False), 4),
    ("ESGRAD04", sunken_radio(False, False), 4),
    ("ESGRAD05", xp_radio(True, True), 8),
    ("ESGRAD06", xp_radio(False, True), 8),
    ("ESGRAD07", xp_radio(True, False), 8),
    ("ESGRAD08", xp_radio(False, False), 8),
    ("ESGLEAFOPEN", leaf_node(True), 8),
    ("ESGLEAFCLOSE", leaf_node(False), 8),
    ("XPNODEO", xp_node(True), 24),
    ("XPNODEC", xp_node(False), 24),
    ("ESGFILT", filter_button(), 4),
    ("metrocheckon", metro_check(True), 8),
    ("metrocheckoff", metro_check(False), 8),
    ("metroradioon", metro_radio(True), 8),
    ("metroradiooff", metro_radio(False), 8),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    entries = []
    for name, pic, bits in GLYPHS:
        write_bmp(os.path.join(here, name + ".bmp"), pic, bits)
        entries.append(f'    <file alias="{name}.bmp">{name}.bmp</file>')
    with open(os.path.join(here, "ExtGridGlyphs.qrc"), "w") as f:
        f.write('<RCC>\n  <qresource prefix="/bitmaps">\n' + "\n".join(entries) + "\n  </qresource>\n</RCC>\n")


if __name__ == "__main__":
    main()
