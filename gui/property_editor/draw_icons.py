#!/usr/bin/env python3
"""Draws the two 16 x 16 buttons of the property editor's value cells as PNG files:
revert.png, a counter-clockwise arrow (reset the value), and more.png, three dots (open the
further editor). Shapes are sampled 8 x 8 times per pixel for smooth edges. Run it after
changing a shape; the PNG files are committed.

    python3 draw_icons.py [output folder]     (default: this folder)
"""

import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "scripts"))
from png_drawing import output_folder, render, write_png  # noqa: E402
from png_shapes import disc, polygon  # noqa: E402

SIZE = 16
SAMPLES = 8
INK = (64, 64, 64, 255)


def revert():
    # A ring of radius 5 around (8, 8.5), open at the top right, and an arrow head at the
    # open end pointing clockwise-back (the "undo" direction).
    cx, cy = 8.0, 8.5

    def ring(x, y):
        r = math.hypot(x - cx, y - cy)
        angle = math.degrees(math.atan2(cy - y, x - cx)) % 360  # 0 = right, counter-clockwise
        return INK if 3.9 <= r <= 6.1 and not (15 <= angle <= 98) else None

    # Arrow head: a triangle at the ring's end near 100 degrees, pointing left and down.
    ax, ay = cx + 5 * math.cos(math.radians(100)), cy - 5 * math.sin(math.radians(100))
    return [ring, polygon([(ax + 1.5, ay - 3.0), (ax + 1.5, ay + 3.0), (ax - 3.0, ay)], INK)]


def more():
    return [disc(cx, 8.0, 1.8, INK) for cx in (3.0, 8.0, 13.0)]


if __name__ == "__main__":
    # Uncovered pixels keep the ink's colour, fully transparent.
    folder = output_folder(os.path.dirname(os.path.abspath(__file__)))
    for name, layers in (("revert.png", revert()), ("more.png", more())):
        write_png(os.path.join(folder, name), SIZE, SIZE, render(layers, SIZE, SIZE, SAMPLES, empty=INK[:3] + (0,)))
