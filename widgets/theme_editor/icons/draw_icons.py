#!/usr/bin/env python3
"""Draws the theme editor's 16 x 16 icons: list_add.png, list_remove.png, copy.png, folder.png
and edit.png.

python3 draw_icons.py [output folder]     (default: this folder)

Plain rectangles of scripts/png_shapes.py, 4 x 4 samples a pixel.
"""
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "..", "..", "scripts"))
from png_drawing import draw_icons  # noqa: E402
from png_shapes import (DARK_RED, GREEN, PAPER, PAPER_LINE, RED, TEXT_LINE, bar,  # noqa: E402
                        outlined, polygon, rect, sheet)

SIZE = 16

DARK_GREEN = (24, 110, 40, 255)
FOLDER = (232, 184, 72, 255)
FOLDER_LINE = (150, 104, 24, 255)
PENCIL = (240, 170, 40, 255)
PENCIL_LINE = (90, 70, 40, 255)
PENCIL_TIP = (60, 60, 60, 255)


def list_add():
    return [rect(1, 6, 15, 10, DARK_GREEN), rect(6, 1, 10, 15, DARK_GREEN),
            rect(2, 7, 14, 9, GREEN), rect(7, 2, 9, 14, GREEN)]


def list_remove():
    return bar(1, 6, 15, 10, RED, DARK_RED)


def lined_sheet(left, top, right, bottom):
    """A sheet with a line of text every other row, down to two rows above its bottom."""
    return sheet(left, top, right, bottom, PAPER, PAPER_LINE, TEXT_LINE,
                 range(3, bottom - top - 2, 2), 2.5)


def copy_icon():
    return lined_sheet(1, 1, 10, 12) + lined_sheet(6, 4, 15, 15)


def folder():
    """A closed folder: a tab on the top left above a wide body."""
    return bar(1, 2, 7, 5, FOLDER, FOLDER_LINE) + bar(1, 4, 15, 14, FOLDER, FOLDER_LINE)


def edit_icon():
    """A pencil lying from the bottom left to the top right, its tip at the bottom left."""
    body = [(5.5, 14.5), (1.5, 10.5), (10.5, 1.5), (14.5, 5.5)]
    tip = [(1, 15), (1.5, 10.5), (5.5, 14.5)]
    return outlined(body, PENCIL, PENCIL_LINE, 1) + [polygon(tip, PENCIL_TIP)]


if __name__ == "__main__":
    draw_icons([("list_add", list_add), ("list_remove", list_remove), ("copy", copy_icon),
                ("folder", folder), ("edit", edit_icon)], SIZE, here)
