#!/usr/bin/env python3
"""Draws the launch dialog's 32 x 32 icons: new_document.png, open_document.png, exit.png.

python3 draw_launch_icons.py [output folder]     (default: this folder)

An icon is a list of layers (see scripts/png_shapes.py) averaged over 4 x 4 samples a pixel.
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "..", "scripts"))
from png_drawing import draw_icons  # noqa: E402
from png_shapes import (DARK_RED, FOLDER_BACK, FOLDER_FRONT, FOLDER_LINE, GREEN,  # noqa: E402
                        PAPER, PAPER_LINE, RED, TEXT_LINE, WHITE, disc, outlined, polygon,
                        rounded_rect)

SIZE = 32

FOLD = (214, 220, 230, 255)


def page(left, top, right, bottom, corner):
    outline = [(left, top), (right - corner, top), (right, top + corner), (right, bottom),
               (left, bottom)]
    layers = outlined(outline, PAPER, PAPER_LINE, 1.0)
    layers.append(polygon([(right - corner, top + 0.7), (right - corner, top + corner),
                           (right - 0.7, top + corner)], FOLD))
    # Text lines on the page.
    for i in range(4):
        y = top + corner + 3 + i * 3.5
        if y + 1.5 < bottom - 2:
            layers.append(rounded_rect(left + 3, y, right - 4 - (i % 2) * 4, y + 1.4, 0.5,
                                       TEXT_LINE))
    return layers


def new_document():
    layers = page(5, 2, 24, 29, 7)
    layers.append(disc(23, 23, 8, GREEN))
    layers.append(rounded_rect(18.5, 21.8, 27.5, 24.2, 0.6, WHITE))
    layers.append(rounded_rect(21.8, 18.5, 24.2, 27.5, 0.6, WHITE))
    return layers


def open_document():
    layers = [rounded_rect(2, 7, 29, 28, 1.5, FOLDER_LINE),
              rounded_rect(3, 8, 28, 27, 1.0, FOLDER_BACK),
              rounded_rect(2, 4, 13, 10, 1.5, FOLDER_LINE),
              rounded_rect(3, 5, 12, 9, 1.0, FOLDER_BACK)]
    layers += page(8, 3, 25, 22, 5)
    layers += outlined([(1, 14), (27, 14), (31, 14), (27, 28), (2, 28)], FOLDER_FRONT,
                       FOLDER_LINE, 0.9)
    return layers


def exit_icon():
    def power(x, y):
        d = math.hypot(x - 16, y - 16.5)
        angle = math.degrees(math.atan2(x - 16, -(y - 16.5)))
        if 6.2 <= d <= 8.6 and abs(angle) >= 38:
            return WHITE
        if abs(x - 16) <= 1.2 and 6 <= y <= 16.5:
            return WHITE
        return None
    return [disc(16, 16, 15, DARK_RED), disc(16, 16, 13.8, RED), power]


if __name__ == "__main__":
    draw_icons([("new_document", new_document), ("open_document", open_document),
                ("exit", exit_icon)], SIZE, here)
