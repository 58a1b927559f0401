"""Shape layers shared by the scripts that draw the program's bitmap images.

A layer is a function of a point (x, y) in pixel units that gives an RGBA colour (components
0..255) or None outside the shape; scripts/png_drawing.py paints a list of them in order.
The functions that build more than one layer return a list, to be added to a drawing's list.
"""
import math

# Colours that several icon sets share, so that they look of one family.
PAPER = (250, 250, 246, 255)
PAPER_LINE = (96, 104, 120, 255)
TEXT_LINE = (170, 178, 192, 255)
GREEN = (46, 160, 67, 255)
RED = (200, 40, 40, 255)
DARK_RED = (140, 20, 20, 255)
WHITE = (255, 255, 255, 255)
FOLDER_BACK = (204, 140, 36, 255)
FOLDER_FRONT = (246, 190, 64, 255)
FOLDER_LINE = (150, 96, 20, 255)


def rect(left, top, right, bottom, colour):
    """A rectangle covering left <= x < right and top <= y < bottom."""
    return lambda x, y: colour if left <= x < right and top <= y < bottom else None


def rounded_rect(left, top, right, bottom, radius, colour):
    """A rectangle whose corners are quarter circles of the given radius (0 for sharp)."""
    def shape(x, y):
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        return colour if (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 else None
    return shape


def disc(cx, cy, r, colour):
    return lambda x, y: colour if (x - cx) ** 2 + (y - cy) ** 2 <= r * r else None


def polygon(points, colour):
    """A polygon filled by the even-odd rule."""
    def shape(x, y):
        inside = False
        j = len(points) - 1
        for i in range(len(points)):
            (xi, yi), (xj, yj) = points[i], points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return colour if inside else None
    return shape


def outlined(points, fill, line, width):
    """A polygon filled with one colour and bordered with another, the border inside: the
    fill is the polygon pulled towards its centroid by about the border's width."""
    cx = sum(p[0] for p in points) / len(points)
    cy = sum(p[1] for p in points) / len(points)
    inner_points = []
    for (px, py) in points:
        dx, dy = cx - px, cy - py
        d = math.hypot(dx, dy)
        inner_points.append((px + dx / d * width * 1.4, py + dy / d * width * 1.4))
    return [polygon(points, line), polygon(inner_points, fill)]


def bar(left, top, right, bottom, fill, line):
    """A rectangle with a one-pixel border of another colour (usually a darker shade)."""
    return [rect(left, top, right, bottom, line),
            rect(left + 1, top + 1, right - 1, bottom - 1, fill)]


def sheet(left, top, right, bottom, paper, edge, text, line_tops, margin):
    """A sheet of paper: a bar with one-pixel lines of text starting at the offsets line_tops
    below its top, indented by margin from either side."""
    layers = bar(left, top, right, bottom, paper, edge)
    for offset in line_tops:
        layers.append(rect(left + margin, top + offset, right - margin, top + offset + 1,
                           text))
    return layers
