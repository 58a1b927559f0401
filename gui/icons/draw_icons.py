#!/usr/bin/env python3
"""Draws the icons of the colour and gradient widgets as 22 x 22 PNG files.

    python3 draw_icons.py [output folder]     (default: this folder)

A hue wheel, sliders and curved arrows, drawn as layers (scripts/png_drawing.py) with 4 x 4
samples a pixel.
"""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "scripts"))
from png_drawing import draw_icons  # noqa: E402
from png_shapes import rect  # noqa: E402

SIZE = 22
FRAME = (60, 60, 60, 255)
HANDLE = (40, 40, 40, 255)


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
        return FRAME
    return hue_colour(math.atan2(dx, -dy) / (2 * math.pi), d / 9)


def fade(left, top, right, bottom, colour):
    """A rectangle fading from white at the left to the colour at the right."""
    def shape(x, y):
        if not (left <= x < right and top <= y < bottom):
            return None
        t = (x - left) / (right - left)
        return tuple(round(255 + (c - 255) * t) for c in colour) + (255,)
    return shape


def sliders(colours):
    """A framed bar a colour, one below the other, each with its handle in the middle."""
    layers = []
    for i, colour in enumerate(colours):
        top = 3 + i * 6
        layers += [rect(1, top - 1, 21, top + 5, FRAME), fade(2, top, 20, top + 4, colour),
                   rect(12, top, 14, top + 4, HANDLE)]
    return layers


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


if __name__ == "__main__":
    draw_icons([("hs_picker", lambda: [wheel]),
                ("rgb_sliders", lambda: sliders([(220, 0, 0), (0, 170, 0), (0, 0, 220)])),
                ("cmy_sliders", lambda: sliders([(0, 200, 220), (210, 0, 200), (230, 210, 0)])),
                ("undo", lambda: [arrow(False)]), ("redo", lambda: [arrow(True)])], SIZE,
               os.path.dirname(os.path.abspath(__file__)))
