#!/usr/bin/env python3
"""Generate Quillet's .ico files (stdlib only).

Writes quillet.ico, entry.ico, entry_bad.ico, bad_mark.ico, log_info.ico and log_error.ico
next to this script, plus a PNG preview sheet (8x) to /tmp/icons_preview.png.
Shapes are drawn in pixel coordinates and antialiased by supersampling.
"""
import math
import os
import struct
import zlib

SS = 4  # supersampling factor per axis


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]

    def fill(self, inside, color, box=None):
        """Composite `color` (r, g, b[, a] or callable(x, y)) where inside(x, y)."""
        n = self.size
        x0, y0, x1, y1 = box or (0, 0, n, n)
        x0, y0 = max(0, int(x0) - 1), max(0, int(y0) - 1)
        x1, y1 = min(n, int(math.ceil(x1)) + 1), min(n, int(math.ceil(y1)) + 1)
        offs = [(i + 0.5) / SS for i in range(SS)]
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = sum(inside(x + dx, y + dy) for dy in offs for dx in offs)
                if hits:
                    c = color(x + 0.5, y + 0.5) if callable(color) else color
                    self.blend(x, y, c, hits / (SS * SS))

    def blend(self, x, y, c, cov):
        p = self.px[y * self.size + x]
        a = cov * (c[3] / 255.0 if len(c) > 3 else 1.0)
        out_a = a + p[3] * (1 - a)
        if out_a > 0:
            for i in range(3):
                p[i] = (c[i] * a + p[i] * p[3] * (1 - a)) / out_a
        p[3] = out_a

    def rgba(self, x, y):
        p = self.px[y * self.size + x]
        return [int(round(v)) for v in p[:3]] + [int(round(p[3] * 255))]


# ---- shape predicates (pixel coordinates, y grows downwards) ----
def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rrect(x0, y0, x1, y1, r):
    def f(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        dx = max(x0 + r - x, 0, x - (x1 - r))
        dy = max(y0 + r - y, 0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return f


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def line(ax, ay, bx, by, w):
    """Thick segment with round caps."""
    vx, vy, l2 = bx - ax, by - ay, (bx - ax) ** 2 + (by - ay) ** 2

    def f(x, y):
        t = max(0.0, min(1.0, ((x - ax) * vx + (y - ay) * vy) / l2))
        return (x - ax - t * vx) ** 2 + (y - ay - t * vy) ** 2 <= w * w / 4
    return f


def feather(ax, ay, bx, by, wmax):
    """Leaf/feather outline along A->B, widest a bit past the middle."""
    L = math.hypot(bx - ax, by - ay)
    dx, dy = (bx - ax) / L, (by - ay) / L

    def f(x, y):
        u = ((x - ax) * dx + (y - ay) * dy) / L
        v = (x - ax) * dy - (y - ay) * dx
        if not 0 < u < 1:
            return False
        return abs(v) <= wmax * math.sin(math.pi * u ** 0.8) ** 0.75
    return f


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


# ---- pictures ----
DARK = (28, 38, 60)
BLUE = (47, 111, 214)
BODY = (246, 248, 252)
WHITE = (255, 255, 255)


def draw_quillet(n):
    c, k = Canvas(n), n / 16.0
    top, bot = (86, 156, 240), (22, 82, 186)
    grad = lambda x, y: tuple(t + (b - t) * y / n for t, b in zip(top, bot))
    c.fill(rrect(0, 0, n, n, 3.2 * k), (16, 58, 140))
    c.fill(rrect(1, 1, n - 1, n - 1, 3.2 * k - 1), grad)
    # ink stroke trailing from the nib
    c.fill(rect(round(4 * k), round(13 * k), n - round(3 * k), round(14 * k)),
           (255, 255, 255, 140))
    # white feather from lower-left to upper-right, with a blue rachis
    ax, ay, bx, by = 4.6 * k, 11.4 * k, 13.4 * k, 2.6 * k
    c.fill(feather(ax, ay, bx, by, 2.9 * k), WHITE)
    c.fill(line(2.6 * k, 13.4 * k, ax + 0.8 * k, ay - 0.8 * k, max(1.0, 1.1 * k)), WHITE)
    if n > 16:
        c.fill(line(ax + 0.4 * k, ay - 0.4 * k, bx - 2.2 * k, by + 2.2 * k, 0.7 * k),
               (36, 96, 200))
    else:  # exact pixel diagonal keeps the 16 px rachis crisp
        for x in range(5, 11):
            c.blend(x, 15 - x, (36, 96, 200), 1.0)
    # two slanted notches cut into the lower-right edge (background shows through)
    for t in ((0.42, 0.68) if n > 16 else ()):
        px, py = ax + (bx - ax) * t, ay + (by - ay) * t
        c.fill(line(px + 1.1 * k, py + 1.1 * k, px + 3.2 * k, py + 1.8 * k, 0.9 * k), grad)
    return c


def window(c, x0, y0, x1, y1, k):
    c.fill(rect(x0, y0, x1, y1), DARK)
    c.fill(rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1), BODY)
    c.fill(rect(x0 + 1, y0 + 1, x1 - 1, y0 + 1 + round(2 * k)), BLUE)
    if k > 1:  # content lines only where there is room
        for i in range(2):
            yy = y0 + 1 + round(2 * k) + 3 + 3 * i
            c.fill(rect(x0 + 3, yy, x1 - 3 - 3 * i, yy + 1), (170, 180, 200))


def draw_entry(n, bad=False):
    c, k = Canvas(n), n / 16.0
    r = lambda v: round(v * k)
    window(c, 0, r(1), r(11), r(10), k)
    window(c, r(5), r(6), n, r(15), k)
    if bad:
        draw_mark(c, k)
    return c


def draw_mark(c, k):
    """The bad mark: drawn into the bad entry's picture, and alone as the
    overlay that marks a program's own icon."""
    r = lambda v: round(v * k)
    cx, cy, rad = 5 * k, 11 * k, 5 * k
    c.fill(circle(cx, cy, rad + 0.8), (255, 255, 255, 220))  # halo
    c.fill(circle(cx, cy, rad), (0, 0, 0))
    yel = (255, 214, 0)
    c.fill(rect(r(4), r(7), r(6), r(12)), yel)
    c.fill(rect(r(4), r(13), r(6), r(15)), yel)
    return c


def draw_info(n):
    c = Canvas(n)
    c.fill(circle(8, 8, 7.6), (20, 80, 170))
    c.fill(circle(8, 8, 6.6), (50, 120, 220))
    c.fill(rect(7, 3, 9, 5), WHITE)
    c.fill(rect(7, 6, 9, 12), WHITE)
    c.fill(rect(6, 6, 7, 7), WHITE)
    c.fill(rect(6, 11, 10, 12), WHITE)
    return c


def draw_error(n):
    c = Canvas(n)
    c.fill(circle(8, 8, 7.6), (150, 20, 20))
    c.fill(circle(8, 8, 6.6), (220, 45, 45))
    for y in range(4, 8):  # crisp pixel 'x', mirrored into all four quadrants
        for x in (y, y + 1):
            for px, py in ((x, y), (15 - x, y), (x, 15 - y), (15 - x, 15 - y)):
                c.blend(px, py, WHITE, 1.0)
    return c


# ---- file writers ----
def ico_image(c):
    n = c.size
    xor, mask = bytearray(), bytearray()
    stride = ((n + 31) // 32) * 4
    for y in range(n - 1, -1, -1):  # bottom-up rows
        bits = bytearray(stride)
        for x in range(n):
            r, g, b, a = c.rgba(x, y)
            xor += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    hdr = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0,
                      len(xor) + len(mask), 0, 0, 0, 0)
    return hdr + bytes(xor) + bytes(mask)


def write_ico(path, canvases):
    imgs = [ico_image(c) for c in canvases]
    out = struct.pack('<HHH', 0, 1, len(imgs))
    offset = 6 + 16 * len(imgs)
    for c, img in zip(canvases, imgs):
        s = c.size if c.size < 256 else 0
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(path, 'wb') as f:
        f.write(out + b''.join(imgs))


def write_preview(path, rows, zoom=8, pad=8, bg=(216, 216, 216)):
    width = pad + max(sum(c.size * zoom + pad for c in row) for row in rows)
    height = pad + sum(max(c.size for c in row) * zoom + pad for row in rows)
    img = [[bg] * width for _ in range(height)]
    oy = pad
    for row in rows:
        ox = pad
        for c in row:
            for y in range(c.size * zoom):
                for x in range(c.size * zoom):
                    r, g, b, a = c.rgba(x // zoom, y // zoom)
                    d = img[oy + y][ox + x]
                    img[oy + y][ox + x] = tuple((v * a + w * (255 - a)) // 255
                                                for v, w in zip((r, g, b), d))
            ox += c.size * zoom + pad
        oy += max(c.size for c in row) * zoom + pad
    raw = b''.join(b'\0' + bytes(v for p in line_ for v in p) for line_ in img)
    chunk = lambda t, d: (struct.pack('>I', len(d)) + t + d +
                          struct.pack('>I', zlib.crc32(t + d) & 0xffffffff))
    png = (b'\x89PNG\r\n\x1a\n' +
           chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)) +
           chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))
    with open(path, 'wb') as f:
        f.write(png)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    icons = {
        'quillet.ico': [draw_quillet(n) for n in (16, 32, 48)],
        'entry.ico': [draw_entry(n) for n in (16, 32)],
        'entry_bad.ico': [draw_entry(n, bad=True) for n in (16, 32)],
        'bad_mark.ico': [draw_mark(Canvas(n), n / 16.0) for n in (16, 32)],
        'log_info.ico': [draw_info(16)],
        'log_error.ico': [draw_error(16)],
    }
    for name, canvases in icons.items():
        write_ico(os.path.join(here, name), canvases)
    write_preview('/tmp/icons_preview.png', list(icons.values()))


if __name__ == '__main__':
    main()
