#!/usr/bin/env python3
"""Draws the icons of the colour and gradient widgets as 22 x 22 PNG files.

Run from this folder: python3 draw_icons.py. Each icon is a function of a point (x, y) in
pixel units that returns an RGBA colour or None; every pixel averages 4 x 4 samples
(scripts/png_drawing.py).
"""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "scripts"))
from png_drawing import render as render_layers, write_png as write_rows  # noqa: E402

SIZE = 22


def render(shape):
    return render_layers([shape], SIZE, SIZE)


def write_png(path, rows):
    write_rows(path, SIZE, SIZE, rows)


def hue_colour(hue, saturation):
    """Full-value colour of a hue (fraction of a turn, red up) and saturation, as the wheel."""
    six = (hue % 1.0) * 6
    k, f = int(six) % 6, six - int(six)
    pure = [(1, f, 0), (1 - f, 1, 0), (0, 1, f), (0, 1 - f, 1), (f, 0, 1), (1, 0, 1 - f)][k]
    return tuple(round(255 * (1 - (1 - c) * saturation)) for c in pure) + (255,)


def wheel(x, y):
    dx, dy = x - 11, y - 11
    d = math.hypot(dx, dy)
    if d > 10:
        return None
    if d > 9:
        return (60, 60, 60, 255)
    return hue_colour(math.atan2(dx, -dy) / (2 * math.pi), d / 9)


def sliders(colours):
    def shape(x, y):
        for i, colour in enumerate(colours):
            top = 3 + i * 6
            if top <= y < top + 4 and 2 <= x < 20:
                # Each bar fades from white at the left to its colour at the right.
                t = (x - 2) / 18
                bar = tuple(round(255 + (c - 255) * t) for c in colour) + (255,)
                if 12 <= x < 14:
                    return (40, 40, 40, 255)
                return bar
            if top - 1 <= y < top + 5 and 1 <= x < 21:
                return (60, 60, 60, 255)
        return None
    return shape


def arrow(mirrored):
    """A curved arrow turning back to the left (undo) or, mirrored, to the right (redo)."""
    def shape(x, y):
        if mirrored:
            x = SIZE - x
        # The arc: the upper half of a ring around (12, 13).
        dx, dy = x - 12, y - 13
        d = math.hypot(dx, dy)
        if 5 <= d <= 8 and (dy <= 0 or dx >= 0) and y <= 19:
            return (40, 90, 170, 255)
        # The head: a triangle pointing left, at the ring's left end.
        if 2 <= x <= 9 and abs(y - 13) <= (x - 2) * 0.8 and x <= 9:
            return (40, 90, 170, 255)
        return None
    return shape


write_png("hs_picker.png", render(wheel))
write_png("rgb_sliders.png", render(sliders([(220, 0, 0), (0, 170, 0), (0, 0, 220)])))
write_png("cmy_sliders.png", render(sliders([(0, 200, 220), (210, 0, 200), (230, 210, 0)])))
write_png("undo.png", render(arrow(False)))
write_png("redo.png", render(arrow(True)))
