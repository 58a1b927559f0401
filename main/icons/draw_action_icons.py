#!/usr/bin/env python3
"""Draws the 22 x 22 icons of the editor's actions (menus and tool bars).

    python3 draw_action_icons.py [output folder]     (default: the 22x22 folder beside this)

One family with the icons already drawn for the copy, undo and redo actions: white paper with
a dark grey edge, blue (40, 90, 170) for what the action works on, green for adding, red for
removing and amber for warnings. Every icon is a list of layers (scripts/png_drawing.py)
averaged over 4 x 4 samples a pixel; the file names are the icon names of the action table.
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "..", "scripts"))
from png_drawing import draw_icons  # noqa: E402
from png_shapes import (DARK_RED, FOLDER_BACK, FOLDER_FRONT, FOLDER_LINE, GREEN, RED,  # noqa: E402
                        WHITE, disc, outlined, polygon, rect, rounded_rect)

SIZE = 22
OUTLINE = (60, 60, 60, 255)
PAPER = (255, 255, 255, 255)
BLUE = (40, 90, 170, 255)
LIGHT_BLUE = (120, 165, 225, 255)
PALE_BLUE = (214, 228, 246, 255)
DARK_GREEN = (30, 110, 45, 255)
AMBER = (240, 170, 40, 255)
DARK_AMBER = (170, 105, 10, 255)
GREY = (150, 150, 150, 255)
LIGHT_GREY = (220, 220, 220, 255)
WOOD = (176, 112, 56, 255)


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length))
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def stroke(points, width, colour):
    """Lines through the points, width wide, with round ends."""
    segments = list(zip(points, points[1:]))
    half = width / 2.0

    def shape(x, y):
        for (ax, ay), (bx, by) in segments:
            if segment_distance(x, y, ax, ay, bx, by) <= half:
                return colour
        return None
    return shape


def ring(cx, cy, r, width, colour, gap=None):
    """A circle line; gap (start, stop) in degrees clockwise from twelve o'clock is left out."""
    def shape(x, y):
        if abs(math.hypot(x - cx, y - cy) - r) > width / 2.0:
            return None
        if gap:
            angle = math.degrees(math.atan2(x - cx, -(y - cy))) % 360
            if gap[0] <= angle <= gap[1]:
                return None
        return colour
    return shape


def framed(left, top, right, bottom, radius, fill, edge):
    """A rounded rectangle with a one-pixel edge of another colour."""
    return [rounded_rect(left, top, right, bottom, radius, edge),
            rounded_rect(left + 1, top + 1, right - 1, bottom - 1, max(0, radius - 1), fill)]


def gradient_rect(left, top, right, bottom, radius, top_colour, bottom_colour):
    inside = rounded_rect(left, top, right, bottom, radius, WHITE)

    def shape(x, y):
        if not inside(x, y):
            return None
        t = (y - top) / float(bottom - top)
        return tuple(round(a + (b - a) * t) for a, b in zip(top_colour, bottom_colour)) + (255,)
    return shape


def sheet(left, top, right, bottom, fold=4, lines=3):
    """A sheet of paper with a folded corner and lines of text."""
    outline = [(left, top), (right - fold, top), (right, top + fold), (right, bottom),
               (left, bottom)]
    layers = outlined(outline, PAPER, OUTLINE, 0.9)
    layers.append(polygon([(right - fold, top + 0.6), (right - fold, top + fold),
                           (right - 0.6, top + fold)], LIGHT_GREY))
    for i in range(lines):
        y = top + fold + 2 + i * 3
        if y + 1 < bottom - 1:
            layers.append(rect(left + 2.5, y, right - 2.5 - (i % 2) * 2, y + 1, BLUE))
    return layers


def plus_badge(cx, cy, r=5.0, colour=GREEN, edge=DARK_GREEN):
    return [disc(cx, cy, r, edge), disc(cx, cy, r - 1, colour),
            rect(cx - 3, cy - 0.8, cx + 3, cy + 0.8, WHITE),
            rect(cx - 0.8, cy - 3, cx + 0.8, cy + 3, WHITE)]


def new_document():
    return sheet(3, 1, 16, 20) + plus_badge(16, 16)


def open_document():
    layers = framed(1, 5, 21, 19, 1, FOLDER_BACK, FOLDER_LINE)
    layers += framed(1, 3, 9, 7, 1, FOLDER_BACK, FOLDER_LINE)
    layers += sheet(5, 2, 18, 14, 3, 2)
    layers += outlined([(1, 10), (21, 10), (19, 20), (1, 20)], FOLDER_FRONT, FOLDER_LINE, 0.8)
    return layers


def floppy():
    return (framed(2, 2, 20, 20, 2, BLUE, (24, 56, 110, 255)) +
            framed(5, 3, 17, 10, 0, PAPER, LIGHT_GREY) +
            [rect(6.5, 5, 15.5, 6, LIGHT_BLUE), rect(6.5, 7, 13, 8, LIGHT_BLUE),
             rounded_rect(6, 13, 16, 20, 1, LIGHT_GREY), rect(12, 14.5, 14, 18.5, OUTLINE)])


def pencil(tip_x, tip_y, length=10.0):
    """A pencil pointing down to the left, its tip at the point."""
    d = length / math.sqrt(2)
    end = (tip_x + d, tip_y - d)
    return [stroke([(tip_x + 2.2, tip_y - 2.2), end], 4.2, DARK_AMBER),
            stroke([(tip_x + 2.2, tip_y - 2.2), end], 2.6, AMBER),
            polygon([(tip_x, tip_y), (tip_x + 0.6, tip_y - 3.6), (tip_x + 3.6, tip_y - 0.6)],
                    (240, 214, 170, 255)),
            disc(tip_x + 0.5, tip_y - 0.5, 0.9, OUTLINE),
            stroke([(end[0] - 0.5, end[1] + 0.5), end], 3.4, (230, 120, 140, 255))]


def save_document():
    return floppy()


def save_document_as():
    return floppy() + pencil(12, 21, 9)


def screen_page(left, top, right, bottom):
    """A page of the panel: a landscape screen with a title bar and two buttons."""
    return (framed(left, top, right, bottom, 1, PALE_BLUE, OUTLINE) +
            [rect(left + 1, top + 1, right - 1, top + 4, BLUE),
             rounded_rect(left + 3, top + 6, left + 8, top + 9.5, 1, LIGHT_BLUE),
             rounded_rect(left + 10, top + 6, left + 15, top + 9.5, 1, LIGHT_BLUE)])


def new_page():
    return screen_page(1, 3, 19, 17) + plus_badge(16, 16)


def arrow(up):
    def flip(points):
        return [(x, SIZE - y) for x, y in points] if not up else points
    head = flip([(11, 2), (20, 11), (14.5, 11), (14.5, 20), (7.5, 20), (7.5, 11), (2, 11)])
    return outlined(head, LIGHT_BLUE, BLUE, 0.9)


def edit_page_switcher():
    layers = framed(1, 2, 21, 20, 1, PALE_BLUE, OUTLINE)
    layers.append(rect(2, 14, 20, 19, BLUE))
    for i, left in enumerate((3.5, 9.5, 15.5)):
        layers.append(rounded_rect(left, 15, left + 3, 18, 0.6, AMBER if i == 0 else WHITE))
    layers.append(rounded_rect(4, 5, 18, 7, 0.8, LIGHT_BLUE))
    layers.append(rounded_rect(4, 9, 13, 11, 0.8, LIGHT_BLUE))
    return layers


def magnifier(sign):
    layers = [stroke([(13.5, 13.5), (19.5, 19.5)], 4.0, OUTLINE),
              disc(9, 9, 7.2, OUTLINE), disc(9, 9, 5.8, PALE_BLUE),
              rect(5.5, 8.2, 12.5, 9.8, BLUE)]
    if sign == "+":
        layers.append(rect(8.2, 5.5, 9.8, 12.5, BLUE))
    return layers


def paintbrush():
    return [stroke([(19.5, 2.5), (11, 11)], 3.0, WOOD),
            stroke([(11.5, 10.5), (9, 13)], 4.0, GREY)] + outlined(
                [(9.5, 10.2), (11.8, 12.5), (7, 19.5), (2, 20), (2.5, 15)], BLUE,
                (24, 56, 110, 255), 0.8)


def config_properties():
    layers = framed(2, 1, 20, 21, 1, PAPER, OUTLINE)
    for i in range(4):
        y = 4 + i * 4
        layers.append(rounded_rect(4.5, y, 7.5, y + 2.5, 0.5, BLUE))
        layers.append(rect(9.5, y + 0.7, 17.5 - (i % 2) * 3, y + 1.8, GREY))
    return layers


def gear(cx, cy, outer, inner, hole, teeth, colour, edge):
    def shape(x, y):
        d = math.hypot(x - cx, y - cy)
        angle = math.atan2(y - cy, x - cx) * teeth / (2 * math.pi)
        tooth = (angle - math.floor(angle)) < 0.5
        r = outer if tooth else inner
        if d > r or d < hole:
            return None
        return edge if d > r - 1.0 or d < hole + 1.0 else colour
    return shape


def preferences():
    return [gear(11, 11, 10, 7.5, 3.2, 8, LIGHT_BLUE, BLUE)]


def badge(fill, edge):
    return [disc(11, 11, 10, edge), disc(11, 11, 8.9, fill)]


def help_icon():
    return badge(BLUE, (24, 56, 110, 255)) + [
        stroke([(7.6, 8.2), (8.4, 6.2), (10, 5.2), (12.2, 5.2), (14, 6.4), (14.4, 8.2),
                (13.4, 9.8), (11, 11.4), (11, 13)], 2.4, WHITE),
        disc(11, 16.4, 1.5, WHITE)]


def about():
    return badge(BLUE, (24, 56, 110, 255)) + [disc(11, 6.2, 1.6, WHITE),
                                              rounded_rect(9.6, 9, 12.4, 17, 0.6, WHITE)]


def important():
    return [stroke([(11, 2.5), (20, 18.5), (2, 18.5), (11, 2.5)], 2.6, DARK_AMBER),
            polygon([(11, 3), (19.6, 18.2), (2.4, 18.2)], AMBER),
            rounded_rect(9.9, 7, 12.1, 13.5, 0.8, OUTLINE), disc(11, 16, 1.3, OUTLINE)]


def add_button():
    return [rounded_rect(1, 5, 21, 17, 4, (24, 56, 110, 255)),
            gradient_rect(2, 6, 20, 16, 3, LIGHT_BLUE[:3], BLUE[:3]),
            rounded_rect(6, 10.2, 16, 11.8, 0.6, WHITE)]


def add_slider():
    return [rounded_rect(1.5, 9, 20.5, 13, 2, OUTLINE),
            rounded_rect(2.5, 10, 19.5, 12, 1, LIGHT_GREY),
            rounded_rect(2.5, 10, 11, 12, 1, LIGHT_BLUE),
            rounded_rect(9, 4.5, 14, 17.5, 2, (24, 56, 110, 255)),
            gradient_rect(10, 5.5, 13, 16.5, 1, LIGHT_BLUE[:3], BLUE[:3])]


def hue(x, y, cx, cy, r):
    d = math.hypot(x - cx, y - cy)
    if d > r:
        return None
    six = (math.atan2(x - cx, -(y - cy)) / (2 * math.pi) % 1.0) * 6
    k, f = int(six) % 6, six - int(six)
    pure = [(1, f, 0), (1 - f, 1, 0), (0, 1, f), (0, 1 - f, 1), (f, 0, 1), (1, 0, 1 - f)][k]
    s = d / r
    return tuple(round(255 * (1 - (1 - c) * s)) for c in pure) + (255,)


def add_colour_picker():
    return [disc(11, 11, 10, OUTLINE), lambda x, y: hue(x, y, 11, 11, 9),
            ring(14.5, 7.5, 2.2, 1.2, OUTLINE), ring(14.5, 7.5, 2.2, 0.5, WHITE)]


def add_label():
    return [rounded_rect(1, 4, 21, 18, 2, OUTLINE), rounded_rect(2, 5, 20, 17, 1, PAPER),
            stroke([(4.5, 15), (8, 6.5), (11.5, 15)], 1.8, BLUE),
            stroke([(6, 12), (10, 12)], 1.6, BLUE),
            rect(13, 9, 18, 10.2, GREY), rect(13, 12.5, 17, 13.7, GREY)]


def add_keypad():
    layers = [rounded_rect(2, 1, 20, 21, 2, OUTLINE), rounded_rect(3, 2, 19, 20, 1, PALE_BLUE),
              rect(4.5, 3.5, 17.5, 6.5, WHITE)]
    for row in range(3):
        for column in range(3):
            left, top = 4.5 + column * 4.6, 8 + row * 4
            layers.append(rounded_rect(left, top, left + 3.6, top + 3, 0.8, BLUE))
    return layers


def add_clock():
    layers = [disc(11, 11, 10, OUTLINE), disc(11, 11, 8.8, PAPER)]
    for hour in range(12):
        a = math.radians(hour * 30)
        inner = 6.6 if hour % 3 else 5.6
        layers.append(stroke([(11 + inner * math.sin(a), 11 - inner * math.cos(a)),
                              (11 + 7.8 * math.sin(a), 11 - 7.8 * math.cos(a))],
                             1.0 if hour % 3 else 1.4, OUTLINE))
    layers += [stroke([(11, 11), (11, 4.8)], 1.5, BLUE), stroke([(11, 11), (15, 13)], 1.8, BLUE),
               disc(11, 11, 1.4, OUTLINE)]
    return layers


def bars(boxes):
    """Blue blocks, each a framed rectangle (left, top, right, bottom)."""
    layers = []
    for box in boxes:
        layers += framed(*box, 1, LIGHT_BLUE, BLUE)
    return layers


def align(kind):
    line = {"left": rect(2, 1, 3.5, 21, OUTLINE), "right": rect(18.5, 1, 20, 21, OUTLINE),
            "top": rect(1, 2, 21, 3.5, OUTLINE), "bottom": rect(1, 18.5, 21, 20, OUTLINE),
            "v_middle": rect(10.25, 1, 11.75, 21, OUTLINE),
            "h_middle": rect(1, 10.25, 21, 11.75, OUTLINE)}[kind]
    boxes = {"left": [(4, 4, 18, 9), (4, 13, 13, 18)],
             "right": [(4, 4, 18, 9), (9, 13, 18, 18)],
             "top": [(4, 4, 9, 18), (13, 4, 18, 13)],
             "bottom": [(4, 4, 9, 18), (13, 9, 18, 18)],
             "v_middle": [(3, 4, 19, 9), (6, 13, 16, 18)],
             "h_middle": [(4, 3, 9, 19), (13, 6, 18, 16)]}[kind]
    # The blocks are drawn over the line but leave it visible between them.
    return [line] + bars(boxes)


def layout(kind):
    boxes = {"horizontal": [(2, 5, 8, 17), (8, 5, 14, 17), (14, 5, 20, 17)],
             "vertical": [(5, 2, 17, 8), (5, 8, 17, 14), (5, 14, 17, 20)],
             "grid": [(2, 2, 11, 11), (11, 2, 20, 11), (2, 11, 11, 20), (11, 11, 20, 20)]}[kind]
    return bars(boxes)


def dashed_frame(left, top, right, bottom, colour):
    def shape(x, y):
        on_x = left <= x < right and (top <= y < top + 1 or bottom - 1 <= y < bottom)
        on_y = top <= y < bottom and (left <= x < left + 1 or right - 1 <= x < right)
        if on_x and int(x) % 3 != 2 or on_y and int(y) % 3 != 2:
            return colour
        return None
    return shape


def edit_controls():
    layers = [dashed_frame(1, 1, 17, 14, OUTLINE),
              rounded_rect(3, 3, 15, 12, 2, LIGHT_BLUE)]
    for cx, cy in ((1.5, 1.5), (16.5, 1.5), (1.5, 13.5), (16.5, 13.5)):
        layers.append(rect(cx - 1.5, cy - 1.5, cx + 1.5, cy + 1.5, BLUE))
    layers += outlined([(10, 8), (10, 21), (13.2, 18), (15.6, 21.6), (17.6, 20.6), (15.4, 17),
                        (19.5, 16.8)], WHITE, OUTLINE, 0.9)
    return layers


def control_block(left, top):
    return [rounded_rect(left, top, left + 12, top + 9, 2.5, (24, 56, 110, 255)),
            gradient_rect(left + 1, top + 1, left + 11, top + 8, 1.5, LIGHT_BLUE[:3], BLUE[:3]),
            rounded_rect(left + 3.5, top + 4, left + 8.5, top + 5, 0.5, WHITE)]


def copy_controls():
    return control_block(2, 3) + control_block(8, 10)


def paste_controls():
    return (framed(2, 3, 18, 21, 1.5, WOOD, (120, 72, 30, 255)) +
            framed(6, 1, 14, 5, 1, LIGHT_GREY, OUTLINE) +
            framed(5, 7, 15, 19, 0, PAPER, GREY) + control_block(9, 12))


def delete():
    return [stroke([(5, 5), (17, 17)], 5.2, DARK_RED), stroke([(17, 5), (5, 17)], 5.2, DARK_RED),
            stroke([(5, 5), (17, 17)], 3.2, RED), stroke([(17, 5), (5, 17)], 3.2, RED)]


ICONS = {
    "new_document": new_document, "open_document": open_document,
    "save_document": save_document, "save_document_as": save_document_as,
    "new_page": new_page, "up_arrow": lambda: arrow(True), "down_arrow": lambda: arrow(False),
    "edit_page_switcher": edit_page_switcher, "zoom_in": lambda: magnifier("+"),
    "zoom_out": lambda: magnifier("-"), "paintbrush": paintbrush,
    "config_properties": config_properties, "preferences": preferences, "help": help_icon,
    "about": about, "important": important, "add_button": add_button,
    "add_slider": add_slider, "add_colour_picker": add_colour_picker, "add_label": add_label,
    "add_keypad": add_keypad, "add_clock": add_clock,
    "align_left": lambda: align("left"), "align_right": lambda: align("right"),
    "align_top": lambda: align("top"), "align_bottom": lambda: align("bottom"),
    "align_v_middle": lambda: align("v_middle"), "align_h_middle": lambda: align("h_middle"),
    "layout_horizontal": lambda: layout("horizontal"),
    "layout_vertical": lambda: layout("vertical"), "layout_grid": lambda: layout("grid"),
    "edit_controls": edit_controls, "copy_controls": copy_controls,
    "paste_controls": paste_controls, "delete": delete,
}


if __name__ == "__main__":
    draw_icons(ICONS.items(), SIZE, os.path.join(here, "22x22"))
