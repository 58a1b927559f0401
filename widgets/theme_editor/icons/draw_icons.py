#!/usr/bin/env python3
"""Draws the theme editor's 16 x 16 list icons: list_add.png, list_remove.png, copy.png.

Run from this folder: python3 draw_icons.py. An icon is a list of layers painted in order; a
layer is a function of a point (x, y) in pixel units that gives an RGBA colour or None. Every
pixel averages 4 x 4 samples (scripts/png_drawing.py).
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..",
                                "scripts"))
from png_drawing import render, write_png  # noqa: E402

SIZE = 16

GREEN = (46, 160, 67, 255)
DARK_GREEN = (24, 110, 40, 255)
RED = (200, 40, 40, 255)
DARK_RED = (140, 20, 20, 255)
PAPER = (250, 250, 246, 255)
PAPER_LINE = (96, 104, 120, 255)
TEXT_LINE = (170, 178, 192, 255)


def rect(left, top, right, bottom, colour):
    return lambda x, y: colour if left <= x < right and top <= y < bottom else None


def bar(left, top, right, bottom, fill, line):
    """A bar with a one-pixel border of a darker shade."""
    return [rect(left, top, right, bottom, line),
            rect(left + 1, top + 1, right - 1, bottom - 1, fill)]


def list_add():
    return [rect(1, 6, 15, 10, DARK_GREEN), rect(6, 1, 10, 15, DARK_GREEN),
            rect(2, 7, 14, 9, GREEN), rect(7, 2, 9, 14, GREEN)]


def list_remove():
    return bar(1, 6, 15, 10, RED, DARK_RED)


def sheet(left, top, right, bottom):
    layers = [rect(left, top, right, bottom, PAPER_LINE),
              rect(left + 1, top + 1, right - 1, bottom - 1, PAPER)]
    for y in range(top + 3, bottom - 2, 2):
        layers.append(rect(left + 2.5, y, right - 2.5, y + 1, TEXT_LINE))
    return layers


def copy_icon():
    return sheet(1, 1, 10, 12) + sheet(6, 4, 15, 15)


if __name__ == "__main__":
    for name, layers in [("list_add", list_add()), ("list_remove", list_remove()),
                         ("copy", copy_icon())]:
        write_png(name + ".png", SIZE, SIZE, render(layers, SIZE, SIZE))
