#!/usr/bin/env python3
"""Draws the graphic button's bitmaps as 16-colour BMP files into this folder.

Run once by hand after changing a picture; the BMP files are kept in the repository and compiled
into the program through LbButtons.qrc. Every picture is drawn on the key colour (magenta) so that
its lower-left pixel, the button's transparent colour, is background.
"""

import math
import os
import struct

PALETTE = [
    (255, 0, 255),   # 0 key (transparent)
    (0, 0, 0),       # 1 black
    (255, 255, 255), # 2 white
    (128, 128, 128), # 3 grey
    (192, 192, 192), # 4 silver
    (0, 128, 0),     # 5 green
    (40, 170, 60),   # 6 light green
    (170, 20, 20),   # 7 dark red
    (220, 50, 40),   # 8 red
    (20, 60, 150),   # 9 dark blue
    (40, 110, 210),  # 10 blue
    (64, 64, 64),    # 11 dark grey
    (110, 110, 110), # 12 gear grey
    (150, 100, 50),  # 13 brown
    (230, 190, 120), # 14 light brown
    (100, 100, 100), # 15 unused
]
KEY, BLACK, WHITE, GREY, SILVER, GREEN, LGREEN, DRED, RED, DBLUE, BLUE, DGREY, GEAR, BROWN, LBROWN = range(15)


# ---- shapes: predicates on a point (x, y) in pixel coordinates ------------------------------

def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_in, r_out, a_from=None, a_to=None):
    """Annulus; with angles (degrees, counter-clockwise from east, y up) only that sector."""
    def f(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        if not (r_in * r_in <= d2 <= r_out * r_out):
            return False
        if a_from is None:
            return True
        a = math.degrees(math.atan2(-(y - cy), x - cx)) % 360
        lo, hi = a_from % 360, a_to % 360
        return lo <= a <= hi if lo <= hi else (a >= lo or a <= hi)
    return f


def rect(x1, y1, x2, y2):
    return lambda x, y: x1 <= x <= x2 and y1 <= y <= y2


def segment(x1, y1, x2, y2, width):
    def f(x, y):
        dx, dy = x2 - x1, y2 - y1
        t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy)))
        px, py = x1 + t * dx, y1 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return f


def polyline(points, width):
    segs = [segment(*points[i], *points[i + 1], width) for i in range(len(points) - 1)]
    return lambda x, y: any(s(x, y) for s in segs)


def polygon(points):
    def f(x, y):
        inside = False
        n = len(points)
        for i in range(n):
            (x1, y1), (x2, y2) = points[i], points[(i + 1) % n]
            if (y1 > y) != (y2 > y) and x < (x2 - x1) * (y - y1) / (y2 - y1) + x1:
                inside = not inside
        return inside
    return f


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


def gear(cx, cy, body, tooth_len, tooth_half, teeth=8):
    def tooth(k):
        a = 2 * math.pi * k / teeth + math.pi / teeth
        ca, sa = math.cos(a), math.sin(a)
        def f(x, y):
            u = (x - cx) * ca + (y - cy) * sa
            v = -(x - cx) * sa + (y - cy) * ca
            return 0 <= u <= tooth_len and abs(v) <= tooth_half
        return f
    return union(circle(cx, cy, body), *[tooth(k) for k in range(teeth)])


# ---- rendering ---------------------------------------------------------------------------------

def render(width, height, layers, sub=4):
    """Each pixel takes the colour that covers most of its samples (later layers on top)."""
    pixels = [[KEY] * width for _ in range(height)]
    for py in range(height):
        for px in range(width):
            counts = {}
            for sy in range(sub):
                for sx in range(sub):
                    x = px + (sx + 0.5) / sub
                    y = py + (sy + 0.5) / sub
                    c = KEY
                    for colour, shape in layers:
                        if shape(x, y):
                            c = colour
                    counts[c] = counts.get(c, 0) + 1
            pixels[py][px] = max(counts.items(), key=lambda kv: (kv[1], kv[0] != KEY))[0]
    return pixels


def disabled(frame):
    """The classic embossed grey picture of a frame: white one pixel down-right, grey on top."""
    h, w = len(frame), len(frame[0])
    out = [[KEY] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            if frame[y][x] != KEY and x + 1 < w and y + 1 < h:
                out[y + 1][x + 1] = WHITE
    for y in range(h):
        for x in range(w):
            if frame[y][x] != KEY:
                out[y][x] = GREY
    # The transparent colour is read from the lower-left pixel: keep it background.
    out[h - 1][0] = KEY
    return out


def side_by_side(*frames):
    return [sum((f[y] for f in frames), []) for y in range(len(frames[0]))]


def write_bmp(path, pixels):
    h, w = len(pixels), len(pixels[0])
    row_bytes = ((w + 1) // 2 + 3) // 4 * 4
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(0, w, 2):
            hi = pixels[y][x]
            lo = pixels[y][x + 1] if x + 1 < w else 0
            row.append((hi << 4) | lo)
        row += bytes(row_bytes - len(row))
        data += row
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    with open(path, "wb") as f:
        f.write(header + info + palette + data)


# ---- the pictures ------------------------------------------------------------------------------

def check(ox=0.0, oy=0.0):
    return polyline([(3.5 + ox, 9.5 + oy), (7.2 + ox, 13.2 + oy), (14.5 + ox, 4.5 + oy)], 3.0)


def kind_pictures():
    cross = union(segment(4.5, 4.5, 13.5, 13.5, 3.0), segment(13.5, 4.5, 4.5, 13.5, 3.0))
    octagon = polygon([(6, 1.5), (12, 1.5), (16.5, 6), (16.5, 12), (12, 16.5), (6, 16.5), (1.5, 12), (1.5, 6)])
    question = union(ring(9, 6.5, 2.2, 4.8, -60, 180), rect(7.8, 8.8, 10.2, 11.8), circle(9, 14.6, 1.5))
    no = union(ring(9, 9, 5.0, 7.3), segment(4.2, 13.8, 13.8, 4.2, 2.4))
    retry_arc = ring(9, 9, 4.2, 6.8, 100, 420 - 40)
    retry_head = polygon([(9.5, 0.5), (14.5, 3.2), (9.5, 6.5)])
    ignore = union(segment(2.5, 9, 12, 9, 2.4), polygon([(10, 4.5), (14.8, 9), (10, 13.5)]), rect(14.8, 4, 16.4, 14))
    return {
        "LBOK": [(GREEN, check())],
        "LBCANCEL": [(RED, cross)],
        "LBHELP": [(BLUE, question)],
        "LBYES": [(GREEN, check())],
        "LBNO": [(RED, no)],
        "LBCLOSE": [(BROWN, rect(4, 1.5, 14, 16.5)), (LBROWN, rect(5.5, 3, 12.5, 15)), (BLACK, circle(10.8, 9.5, 1.0))],
        "LBABORT": [(DRED, octagon), (WHITE, rect(4.5, 7.8, 13.5, 10.2))],
        "LBRETRY": [(DBLUE, union(retry_arc, retry_head))],
        "LBIGNORE": [(DBLUE, ignore)],
    }


def header_pictures():
    info = [
        (DBLUE, circle(16, 16, 14.5)),
        (BLUE, circle(16, 16, 13.2)),
        (WHITE, union(circle(16, 8.8, 2.4), rect(14.2, 13, 17.8, 22.8), rect(12, 12.8, 17.8, 14.8), rect(12, 22.2, 20, 24.6))),
    ]
    opz = [
        (DGREY, gear(16, 16, 11.2, 15.2, 3.6)),
        (GEAR, gear(16, 16, 10.0, 14.0, 2.5)),
        (SILVER, ring(16, 16, 5.6, 7.6)),
        (DGREY, ring(16, 16, 4.0, 5.6)),
        (KEY, circle(16, 16, 4.0)),
    ]
    close = [
        (DRED, circle(16, 16, 14.5)),
        (RED, circle(16, 16, 13.2)),
        (WHITE, union(segment(10.5, 10.5, 21.5, 21.5, 3.6), segment(21.5, 10.5, 10.5, 21.5, 3.6))),
    ]
    return {"BTN_INFO": info, "BTN_OPZ": opz, "BTN_CLOSE": close}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, layers in kind_pictures().items():
        normal = render(18, 18, layers)
        write_bmp(os.path.join(here, name + ".bmp"), side_by_side(normal, disabled(normal)))
    all_normal = render(18, 19, [(GREEN, union(check(-1.5, -1.5), check(1.0, 3.5)))])
    write_bmp(os.path.join(here, "LBALL.bmp"), side_by_side(all_normal, disabled(all_normal)))
    write_bmp(os.path.join(here, "LBARROW.bmp"), [[BLACK] * 5, [KEY, BLACK, BLACK, BLACK, KEY], [KEY, KEY, BLACK, KEY, KEY]])
    for name, layers in header_pictures().items():
        write_bmp(os.path.join(here, name + ".bmp"), render(32, 32, layers))


if __name__ == "__main__":
    main()
