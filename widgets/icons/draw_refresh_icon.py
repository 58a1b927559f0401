#!/usr/bin/env python3
"""Draws the reload icon of the layout page, 22x22/refresh.png.

    python3 draw_refresh_icon.py [output folder]     (default: the 22x22 folder beside this)

A green ring open at the top right, whose
upper end carries an arrow head pointing clockwise, on a transparent background; every pixel
averages 4 x 4 samples.
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "..", "scripts"))
from png_drawing import output_folder, render, write_png  # noqa: E402

SIZE = 22
CENTRE = SIZE / 2
RADIUS = 7.0
WIDTH = 2.6
GREEN = (46, 139, 62, 255)
# The gap of the ring, in degrees clockwise from the top.
GAP_START, GAP_END = 20, 75


def angle_of(dx, dy):
    """Degrees clockwise from the top, 0..360."""
    return math.degrees(math.atan2(dx, -dy)) % 360


def ring(x, y):
    dx, dy = x - CENTRE, y - CENTRE
    if abs(math.hypot(dx, dy) - RADIUS) > WIDTH / 2:
        return None
    return None if GAP_START <= angle_of(dx, dy) <= GAP_END else GREEN


def arrow_head(x, y):
    """A triangle at the ring's end before the gap, pointing along the ring (clockwise)."""
    a = math.radians(GAP_START)
    ex, ey = CENTRE + RADIUS * math.sin(a), CENTRE - RADIUS * math.cos(a)
    tx, ty = math.cos(a), math.sin(a)  # clockwise tangent
    nx, ny = -ty, tx  # across the ring
    tip = (ex + 4.5 * tx, ey + 4.5 * ty)
    left = (ex + 4.2 * nx, ey + 4.2 * ny)
    right = (ex - 4.2 * nx, ey - 4.2 * ny)

    def side(p, q):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])

    s1, s2, s3 = side(left, tip), side(tip, right), side(right, left)
    inside = (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)
    return GREEN if inside else None


if __name__ == "__main__":
    write_png(os.path.join(output_folder(os.path.join(here, "22x22")), "refresh.png"), SIZE, SIZE,
              render([ring, arrow_head], SIZE, SIZE))
