#!/usr/bin/env python3
"""Generate the notification-area pictures (stdlib only).

tray.ico: the 16 x 16 static picture (16 colours). trayframes.bmp: its 27
animation frames side by side (432 x 16, magenta is transparent): frame k shows
the picture k pixels lower, wrapping through a 27-pixel cycle, so it leaves at
the bottom (frame 14 is empty) and comes back from the top.
"""
import os
import struct

N, FRAMES = 16, 27
_ = None
K, W, B, L, G, Y = (0, 0, 0), (255, 255, 255), (0, 0, 128), (0, 128, 255), (0, 160, 96), (255, 255, 0)
# Content only in rows 2..13, so that frame 14 is empty.
ART = [
    "................",
    "................",
    "..KKKKKKKKKKKK..",
    "..KBBBBBBBBBBK..",
    "..KBBBBBBBYYBK..",
    "..KKKKKKKKKKKK..",
    "..KWWWWWWWWWWK..",
    "..KWLLLLWWWWWK..",
    "..KWWWWWWWGWWK..",
    "..KWLLLWWWGGWK..",
    "..KWWWWWGGGWWK..",
    "..KWLLLLWGWWWK..",
    "..KWWWWWWWWWWK..",
    "..KKKKKKKKKKKK..",
    "................",
    "................",
]
COLORS = {"K": K, "W": W, "B": B, "L": L, "G": G, "Y": Y}


def pixel(x, y):
    c = ART[y][x]
    return COLORS.get(c)


def frame_pixel(k, x, y):
    offset = k if k <= 14 else k - FRAMES  # 0..14 down, then -12..-1 from the top
    sy = y - offset
    return pixel(x, sy) if 0 <= sy < N else None


def write_ico(path):
    rows = b""
    for y in range(N - 1, -1, -1):  # bottom-up
        for x in range(N):
            c = pixel(x, y)
            rows += bytes((c[2], c[1], c[0], 255)) if c else b"\0\0\0\0"
    mask = b""
    for y in range(N - 1, -1, -1):
        bits = 0
        for x in range(N):
            if pixel(x, y) is None:
                bits |= 1 << (15 - x)
        mask += struct.pack(">H", bits) + b"\0\0"  # rows padded to 32 bits
    header = struct.pack("<IiiHHIIiiII", 40, N, N * 2, 1, 32, 0, len(rows) + len(mask), 0, 0, 0, 0)
    image = header + rows + mask
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, 1))
        f.write(struct.pack("<BBBBHHII", N, N, 0, 0, 1, 32, len(image), 22))
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
