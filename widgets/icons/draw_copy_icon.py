#!/usr/bin/env python3
"""Draws the copy icon of the project-editing windows as a 22 x 22 PNG file.

    python3 draw_copy_icon.py [output folder]     (default: this folder)

Two sheets of paper (scripts/png_shapes.py),
4 x 4 samples a pixel.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "scripts"))
import png_shapes  # noqa: E402
from png_drawing import output_folder, render, write_png  # noqa: E402

SIZE = 22
OUTLINE = (60, 60, 60, 255)
PAPER = (255, 255, 255, 255)
TEXT = (40, 90, 170, 255)


def sheet(left, top):
    """A 12 x 15 sheet of paper with a dark edge and three blue lines of text."""
    return png_shapes.sheet(left, top, left + 12, top + 15, PAPER, OUTLINE, TEXT, (4, 7, 10),
                            3)


# Copy: a sheet behind, its copy in front and offset down to the right.
write_png(os.path.join(output_folder(os.path.dirname(os.path.abspath(__file__))), "copy.png"),
          SIZE, SIZE, render(sheet(2, 2) + sheet(8, 5), SIZE, SIZE))
