#!/usr/bin/env python3
"""Draws the two 16 x 16 buttons of the property editor's value cells as PNG files:
revert.png, a counter-clockwise arrow (reset the value), and more.png, three dots (open the
further editor). Shapes are sampled 8 x 8 times per pixel for smooth edges. Run it in this
folder after changing a shape; the PNG files are committed."""

import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "scripts"))
from png_drawing import write_png  # noqa: E402

SIZE = 16
SAMPLES = 8
INK = (64, 64, 64)


def revert(x, y):
    # A ring of radius 5 around (8, 8.5), open at the top right, and an arrow head at the
    # open end pointing clockwise-back (the "undo" direction).
    cx, cy = 8.0, 8.5
    r = math.hypot(x - cx, y - cy)
    angle = math.degrees(math.atan2(cy - y, x - cx)) % 360  # 0 = right, counter-clockwise
    on_ring = 3.9 <= r <= 6.1 and not (15 <= angle <= 98)
    # Arrow head: a triangle at the ring's end near 100 degrees, pointing left and down.
    ax, ay = cx + 5 * math.cos(math.radians(100)), cy - 5 * math.sin(math.radians(100))
    tri = [(ax + 1.5, ay - 3.0), (ax + 1.5, ay + 3.0), (ax - 3.0, ay)]
    return on_ring or inside(tri, x, y)


def more(x, y):
    return any(math.hypot(x - cx, y - 8.0) <= 1.8 for cx in (3.0, 8.0, 13.0))


def inside(poly, x, y):
    sign = None
    for (x1, y1), (x2, y2) in zip(poly, poly[1:] + poly[:1]):
        cross = (x2 - x1) * (y - y1) - (y2 - y1) * (x - x1)
        if cross != 0:
            s = cross > 0
            if sign is None:
                sign = s
            elif s != sign:
                return False
    return True


def render(shape):
    rows = []
    for py in range(SIZE):
        row = bytearray()
        for px in range(SIZE):
            hits = sum(shape(px + (i + 0.5) / SAMPLES, py + (j + 0.5) / SAMPLES)
                       for i in range(SAMPLES) for j in range(SAMPLES))
            alpha = round(255 * hits / (SAMPLES * SAMPLES))
            row += bytes(INK) + bytes([alpha])
        rows.append(bytes(row))
    return rows


if __name__ == "__main__":
    for name, shape in (("revert.png", revert), ("more.png", more)):
        write_png(name, SIZE, SIZE, render(shape))
