#!/usr/bin/env python3
"""Generate the notification-area pictures (stdlib only).

tray.ico: the 16 x 16 static picture (16 colours): a small window with a red
and a blue-green shape. trayframes.bmp: its 27 animation frames side by side
(432 x 16, magenta is transparent): frame k shows the picture k pixels lower,
wrapping through a 27-pixel cycle, so it leaves at the bottom (frame 14 is
empty) and comes back from the top.
"""
import os
import struct

N, FRAMES = 16, 27
# The standard 16-colour palette; the pictures use only these colours.
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]
# K black frame, B navy title bar, W white client, R red square, T blue-green (teal) diamond.
COLORS = {"K": 0, "B": 4, "W": 15, "R": 9, "T": 6}
# Content only in rows 2..13, so that frame 14 is empty.
ART = [
    "................",
    "................",
    "..KKKKKKKKKKKK..",
    "..KBBBBBBBBBBK..",
    "..KBBBBBBBBBBK..",
    "..KKKKKKKKKKKK..",
    "..KWWWWWWWWWWK..",
    "..KWRRRRWWTWWK..",
    "..KWRRRRWTTTWK..",
    "..KWRRRRWTTTWK..",
    "..KWRRRRWWTWWK..",
    "..KWWWWWWWWWWK..",
    "..KWWWWWWWWWWK..",
    "..KKKKKKKKKKKK..",
    "................",
    "................",
]
assert len(ART) == N and all(len(row) == N for row in ART)


def index(x, y):
    return COLORS.get(ART[y][x])


def pixel(x, y):
    i = index(x, y)
    return None if i is None else PALETTE[i]


def frame_pixel(k, x, y):
    offset = k if k <= 14 else k - FRAMES  # 0..14 down, then -12..-1 from the top
    sy = y - offset
    return pixel(x, sy) if 0 <= sy < N else None


def write_ico(path):
    """A 16-colour icon: 4-bit pixels over the palette, and the mask."""
    rows = b""
    for y in range(N - 1, -1, -1):  # bottom-up
        for x in range(0, N, 2):
            rows += bytes(((index(x, y) or 0) << 4 | (index(x + 1, y) or 0),))
    mask = b""
    for y in range(N - 1, -1, -1):
        bits = 0
        for x in range(N):
            if index(x, y) is None:
                bits |= 1 << (15 - x)
        mask += struct.pack(">H", bits) + b"\0\0"  # rows padded to 32 bits
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, N, N * 2, 1, 4, 0, len(rows) + len(mask), 0, 0, 16, 0)
    image = header + palette + rows + mask
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, 1))
        f.write(struct.pack("<BBBBHHII", N, N, 16, 0, 1, 4, len(image), 22))
        f.write(image)


def write_strip(path):
    width = N * FRAMES
    stride = (width * 3 + 3) & ~3
    data = b""
    for y in range(N - 1, -1, -1):
        row = b""
        for x in range(width):
            c = frame_pixel(x // N, x % N, y) or (255, 0, 255)
            row += bytes((c[2], c[1], c[0]))
        data += row + b"\0" * (stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, width, N, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(info) + len(data), 0, 0, 14 + len(info)))
        f.write(info + data)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    write_ico(os.path.join(here, "tray.ico"))
    write_strip(os.path.join(here, "trayframes.bmp"))
