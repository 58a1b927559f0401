#!/usr/bin/env python3
"""Draws the bitmap images that the preview's QML components embed.

    python3 scripts/make_resource_images.py [output folder]     (default: resources/images)

writes hs_wheel.png and default_page_icon.png there. The
images are committed; run this again only to change them. Needs nothing but Python.
"""

import colorsys
import math
import os

from png_drawing import output_folder, render, write_png

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources", "images")


def hue_saturation_wheel(size):
    """A disc filling the square: hue 0 (red) straight up, growing clockwise; white at the
    centre and fully saturated at the rim. The saturation at a distance d from the centre is
    (d / R)², the measure by which the colour picker turns a point into a colour, so the
    colour under the indicator is the colour picked. The rim is antialiased by coverage."""
    radius = size / 2.0

    def shade(x, y):
        px, py = x - radius, y - radius
        d2 = px * px + py * py
        if d2 > radius * radius:
            return None
        angle = math.atan2(px, -py)
        if angle < 0:
            angle += 2 * math.pi
        rgb = colorsys.hsv_to_rgb(angle / (2 * math.pi), min(1.0, d2 / (radius * radius)), 1.0)
        return tuple(255 * c for c in rgb) + (255,)
    return [shade]


def page_icon():
    """A sheet of paper with a folded top-right corner and three lines of text: light grey
    with a dark outline, so that it reads on dark and light bars alike."""
    left, top, right, bottom, fold = 5.0, 2.0, 19.0, 22.0, 5.0
    outline = 1.0

    def inside_sheet(x, y):
        if not (left <= x <= right and top <= y <= bottom):
            return False
        # The folded corner is cut off along the diagonal.
        return (x - (right - fold)) + (top + fold - y) <= fold

    def shade(x, y):
        """The colour at a point, or None outside the sheet."""
        if not inside_sheet(x, y):
            return None
        edge = (not inside_sheet(x - outline, y) or not inside_sheet(x + outline, y)
                or not inside_sheet(x, y - outline) or not inside_sheet(x, y + outline))
        if edge:
            return (40, 40, 48, 255)
        # The fold's triangle, a shade darker than the sheet.
        if x >= right - fold and y <= top + fold and (x - (right - fold)) <= (y - top):
            return (150, 150, 160, 255)
        for line_y in (10.0, 14.0, 18.0):
            if line_y - 0.75 <= y <= line_y + 0.75 and left + 3 <= x <= right - 3:
                return (110, 110, 120, 255)
        return (235, 235, 240, 255)

    return [shade]


def main():
    folder = output_folder(OUT)
    write_png(os.path.join(folder, "hs_wheel.png"), 272, 272,
              render(hue_saturation_wheel(272), 272, 272))
    write_png(os.path.join(folder, "default_page_icon.png"), 24, 24, render(page_icon(), 24, 24))


if __name__ == "__main__":
    main()
