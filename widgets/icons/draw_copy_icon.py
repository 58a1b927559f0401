#!/usr/bin/env python3
"""Draws the copy icon of the project-editing windows as a 22 x 22 PNG file.

Run from this folder: python3 draw_copy_icon.py. The icon is a list of layers, functions of a
point (x, y) in pixel units that return an RGBA colour or None; every pixel averages 4 x 4
samples (scripts/png_drawing.py).
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "scripts"))
from png_drawing import render, write_png  # noqa: E402

SIZE = 22
OUTLINE = (60, 60, 60, 255)
PAPER = (255, 255, 255, 255)
TEXT = (40, 90, 170, 255)


def sheet(left, top):
    """A 12 x 15 sheet of paper with a dark edge and three blue lines of text."""
    right, bottom = left + 12, top + 15

    def shape(x, y):
        if not (left <= x < right and top <= y < bottom):
            return None
        if x < left + 1 or x >= right - 1 or y < top + 1 or y >= bottom - 1:
            return OUTLINE
        row = int(y - top)
        if left + 3 <= x < right - 3 and row in (4, 7, 10):
            return TEXT
        return PAPER
    return shape


# Copy: a sheet behind, its copy in front and offset down to the right.
write_png("copy.png", SIZE, SIZE, render([sheet(2, 2), sheet(8, 5)], SIZE, SIZE))
