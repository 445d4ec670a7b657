#!/usr/bin/env python3
"""Writes the toolbar's seven 21x21 pictures as two 147x21 24-bit BMP strips
(stdlib only): toolbar_inactive.bmp (normal, muted) and toolbar_active.bmp
(hot, full colour). Magenta (FF00FF) is the transparent colour.
Order: Add/Remove, Properties, Delete, New, Delete bad, Refresh, Views."""
import math
import os
import struct

N = 21
KEY = (255, 0, 255)


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def ring(cx, cy, r0, r1, a0=0, a1=360):
    def f(x, y):
        d = math.hypot(x - cx, y - cy)
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        return r0 <= d <= r1 and (a0 <= a <= a1 if a0 <= a1 else a >= a0 or a <= a1)
    return f


def disc(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) <= r


def line(x0, y0, x1, y1, w):
    def f(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= w / 2
    return f


def tri(p, q, r):
    def side(a, b, x, y):
        return (b[0] - a[0]) * (y - a[1]) - (b[1] - a[1]) * (x - a[0])
    def f(x, y):
        s = [side(p, q, x, y), side(q, r, x, y), side(r, p, x, y)]
        return all(v >= 0 for v in s) or all(v <= 0 for v in s)
    return f


DARK, WHITE = (40, 40, 40), (255, 255, 255)
BLUE, GREEN, RED, YELLOW, PAPER = (30, 90, 200), (30, 150, 50), (210, 30, 30), (240, 190, 20), (250, 250, 240)

# Each picture: shapes painted in order, (predicate, colour).
PICTURES = [
    # Add/Remove: a box with a green arrow going in
    [(rect(3, 9, 18, 19), DARK), (rect(4, 10, 17, 18), (200, 150, 90)), (rect(3, 9, 18, 11), DARK),
     (rect(9, 2, 12, 9), GREEN), (tri((6, 8), (15, 8), (10.5, 13)), GREEN)],
    # Properties: a sheet with lines and a pencil
    [(rect(4, 2, 15, 19), DARK), (rect(5, 3, 14, 18), PAPER)] +
    [(rect(7, y, 12, y + 1), BLUE) for y in (6, 9, 12)] + [(line(10, 18, 18, 8, 3), YELLOW), (line(17, 9, 18.5, 7.5, 3), RED)],
    # Delete: a red cross
    [(line(4, 4, 17, 17, 3.5), RED), (line(17, 4, 4, 17, 3.5), RED)],
    # New: a sheet with a folded corner and a star
    [(rect(4, 2, 16, 19), DARK), (rect(5, 3, 15, 18), PAPER), (tri((11, 3), (15, 3), (15, 7)), DARK),
     (disc(14, 14, 4.5), YELLOW), (rect(13, 10, 15, 18), (230, 140, 0)), (rect(10, 13, 18, 15), (230, 140, 0))],
    # Delete bad: a warning triangle with a red cross
    [(tri((9, 1), (1, 17), (17, 17)), DARK), (tri((9, 3.5), (3, 16), (15, 16)), YELLOW),
     (rect(8, 7, 10, 12), DARK), (rect(8, 13, 10, 15), DARK),
     (line(13, 13, 20, 20, 2.5), RED), (line(20, 13, 13, 20, 2.5), RED)],
    # Refresh: two green arrows in a circle
    [(ring(10.5, 10.5, 5, 8, 20, 160), GREEN), (ring(10.5, 10.5, 5, 8, 200, 340), GREEN),
     (tri((1, 8), (8, 8), (4.5, 12.5)), GREEN), (tri((13, 13), (20, 13), (16.5, 8.5)), GREEN)],
    # Views: four small windows
    [(rect(x, y, x + 8, y + 8), DARK) for x in (2, 11) for y in (2, 11)] +
    [(rect(x + 1, y + 1, x + 7, y + 7), BLUE) for x in (2, 11) for y in (2, 11)],
]


def picture(shapes, muted):
    px = [[KEY] * N for _ in range(N)]
    for inside, colour in shapes:
        if muted:  # halfway to grey
            g = sum(colour) // 3
            colour = tuple((c + g) // 2 for c in colour)
        for y in range(N):
            for x in range(N):
                if inside(x + 0.5, y + 0.5):
                    px[y][x] = colour
    return px


def bmp(pictures):
    width = N * len(pictures)
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(N - 1, -1, -1):
        row = bytearray()
        for p in pictures:
            for r, g, b in p[y]:
                row += bytes((b, g, r))
        data += row + b"\0" * (stride - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, N, 1, 24, 0, len(data), 0, 0, 0, 0)
    return header + info + bytes(data)


here = os.path.dirname(os.path.abspath(__file__))
for name, muted in (("toolbar_inactive.bmp", True), ("toolbar_active.bmp", False)):
    with open(os.path.join(here, name), "wb") as f:
        f.write(bmp([picture(s, muted) for s in PICTURES]))
