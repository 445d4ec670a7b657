#!/usr/bin/env python3
"""Writes the sort arrows of the list header as 16x16, 16-colour BMP files:
stup.bmp, stdown.bmp and stno.bmp, in black, white and light grey (C0C0C0)."""
import os
import struct

BLACK, WHITE, GREY = 0, 15, 7  # indices into the standard 16-colour palette
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]

UP = {(7, 4): BLACK, **{p: BLACK for p in [(6, 5), (6, 6), (5, 7), (5, 8), (4, 9), (4, 10)]},
      **{p: WHITE for p in [(8, 5), (9, 6), (9, 7), (10, 8), (10, 9), (11, 10)]},
      **{(x, 11): BLACK for x in range(3, 13)}}
DOWN = {**{(x, 4): BLACK for x in range(3, 13)},
        **{p: BLACK for p in [(4, 5), (4, 6), (5, 7), (5, 8), (6, 9), (6, 10)]},
        **{p: WHITE for p in [(11, 5), (10, 6), (10, 7), (9, 8), (9, 9), (8, 10)]}, (7, 11): BLACK}


def bmp(pixels):
    rows = []
    for y in range(15, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(0, 16, 2):
            row.append(pixels.get((x, y), GREY) << 4 | pixels.get((x + 1, y), GREY))
        rows.append(bytes(row))
    data = b"".join(rows)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, 16, 16, 1, 4, 0, len(data), 0, 0, 16, 0)
    return header + info + palette + data


here = os.path.dirname(os.path.abspath(__file__))
for name, pixels in (("stup.bmp", UP), ("stdown.bmp", DOWN), ("stno.bmp", {})):
    with open(os.path.join(here, name), "wb") as f:
        f.write(bmp(pixels))
