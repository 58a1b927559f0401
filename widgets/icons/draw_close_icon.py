#!/usr/bin/env python3
"""Draws the close icon of the navigation-button editor, 16x16/close.png.

    python3 draw_close_icon.py [output folder]     (default: the 16x16 folder beside this)

A dark red disc with a white cross, on a
transparent background; every pixel averages 4 x 4 samples.
"""
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "..", "scripts"))
from png_drawing import output_folder, render, write_png  # noqa: E402
from png_shapes import disc  # noqa: E402

SIZE = 16
CENTRE = SIZE / 2
DISC = (176, 36, 36, 255)
CROSS = (255, 255, 255, 255)


def cross(x, y):
    dx, dy = x - CENTRE, y - CENTRE
    if max(abs(dx), abs(dy)) > 4.2:
        return None
    # Distance to either diagonal.
    return CROSS if min(abs(dx - dy), abs(dx + dy)) / 1.4142 <= 1.0 else None


if __name__ == "__main__":
    write_png(os.path.join(output_folder(os.path.join(here, "16x16")), "close.png"), SIZE, SIZE,
              render([disc(CENTRE, CENTRE, 7.5, DISC), cross], SIZE, SIZE))
