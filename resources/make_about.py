#!/usr/bin/env python3
"""Draws the About box's picture, an elliptic blue badge of 299x264 pixels,
as a PPM (stdlib only) and encodes it as about.jpg with ImageMagick's convert."""
import math
import os
import subprocess
import tempfile

W, H = 299, 264
cx, cy, rx, ry = W / 2, H / 2, W / 2, H / 2


def colour(x, y):
    e = math.hypot((x - cx) / rx, (y - cy) / ry)  # 1 on the window's edge
    if e > 1.0:
        return (0, 0, 0)
    if e > 0.94:  # a light rim
        return (150, 190, 240)
    if e > 0.90:
        return (20, 50, 120)
    # deep blue, lighter towards the upper left, with a soft highlight band
    t = min(1.0, math.hypot((x - cx * 0.7) / rx, (y - cy * 0.6) / ry))
    band = 18 * math.exp(-((y - 0.33 * H) / 14.0) ** 2)
    return (int(20 + 40 * (1 - t) + band), int(60 + 70 * (1 - t) + band), int(140 + 100 * (1 - t) + band / 2))


pixels = bytearray()
for y in range(H):
    for x in range(W):
        pixels += bytes(colour(x + 0.5, y + 0.5))
here = os.path.dirname(os.path.abspath(__file__))
with tempfile.NamedTemporaryFile(suffix=".ppm", delete=False) as f:
    f.write(b"P6 %d %d 255\n" % (W, H) + pixels)
try:
    subprocess.run(["convert", f.name, "-quality", "90", "-sampling-factor", "2x2",
                    os.path.join(here, "about.jpg")], check=True)
finally:
    os.unlink(f.name)
