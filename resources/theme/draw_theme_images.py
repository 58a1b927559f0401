#!/usr/bin/env python3
"""Draws the pictures of the built-in themes, one folder per theme.

    python3 draw_theme_images.py [output folder]     (default: this folder)

For each theme (daylight, light; midnight, dark) it writes into <output>/<theme>/:
- landscape_splash.png (480 x 272) and portrait_splash.png (272 x 480): a page of the theme
  with its title bar naming the theme, buttons and a slider in the theme's colours;
- background_<style>_<orientation>.png: page backgrounds, a plain gradient and one with soft
  waves, for the landscape (480 x 272) and portrait (272 x 480) screen;
- icon_<name>.png (24 x 24): the page icons shown by page switchers and the page list;
- clock_face.png, clock_hour_hand.png, clock_minute_hand.png (240 x 240): the analogue
  clock's skin images; the hands point to twelve and turn about the picture's centre.

The theme program (resources/theme_maker) builds the themes from these files with the same
colours. Pictures are drawn with scripts/png_canvas.py, so the files come out the same on
every run.
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "..", "scripts"))
from png_canvas import (Canvas, arc, circle, clamp, lettering, mix, polygon, polyline,  # noqa
                        ring, rounded_rect, vertical)

LANDSCAPE = (480, 272)
PORTRAIT = (272, 480)

THEMES = {
    "daylight": {
        "title": "DAYLIGHT",
        "page_top": (246, 248, 251), "page_bottom": (218, 226, 235),
        "glow": (255, 255, 255), "wave": (120, 160, 210),
        "bar_top": (255, 255, 255), "bar_bottom": (228, 233, 239), "bar_text": (39, 49, 61),
        "button_top": (82, 146, 226), "button_bottom": (42, 98, 184),
        "button_border": (31, 79, 148), "button_text": (255, 255, 255),
        "accent": (242, 163, 58),
        "handle_top": (82, 146, 226), "handle_bottom": (42, 98, 184),
        "track_top": (213, 219, 227), "track_bottom": (194, 202, 213),
        "icon": (58, 70, 86), "icon_accent": (42, 98, 184),
        "face_top": (255, 255, 255), "face_bottom": (226, 232, 240), "rim": (58, 70, 86),
        "marks": (39, 49, 61), "hands": (39, 49, 61), "second": (42, 98, 184),
    },
    "midnight": {
        "title": "MIDNIGHT",
        "page_top": (31, 39, 56), "page_bottom": (12, 17, 27),
        "glow": (60, 90, 130), "wave": (34, 179, 179),
        "bar_top": (42, 50, 70), "bar_bottom": (22, 27, 39), "bar_text": (223, 230, 240),
        "button_top": (71, 86, 119), "button_bottom": (48, 59, 86),
        "button_border": (107, 122, 154), "button_text": (232, 237, 245),
        "accent": (34, 179, 179),
        "handle_top": (214, 222, 234), "handle_bottom": (150, 163, 184),
        "track_top": (20, 25, 36), "track_bottom": (34, 41, 58),
        "icon": (214, 222, 233), "icon_accent": (34, 179, 179),
        "face_top": (44, 53, 74), "face_bottom": (24, 30, 43), "rim": (120, 134, 160),
        "marks": (214, 222, 233), "hands": (232, 237, 245), "second": (34, 179, 179),
    },
}


def opaque(colour):
    return tuple(colour[:3]) + (255,)


def page(theme, width, height):
    """The page gradient with a soft glow in the upper left."""
    canvas = Canvas(width, height)
    top, bottom, glow = theme["page_top"], theme["page_bottom"], theme["glow"]
    reach = math.hypot(width, height) * 0.7

    def paint(x, y):
        colour = mix(top, bottom, y / float(height))
        light = clamp(1.0 - math.hypot(x - width * 0.2, y - height * 0.1) / reach) * 0.35
        return opaque(mix(colour, glow, light))
    canvas.fill(paint)
    return canvas


def waves(canvas, theme):
    """Three soft bands across the lower part of the page."""
    width, height = canvas.width, canvas.height
    for phase, amplitude, level, thickness, alpha in ((0.0, 0.05, 0.72, 10, 40),
                                                      (1.9, 0.07, 0.80, 16, 28),
                                                      (3.4, 0.04, 0.90, 8, 34)):
        centre, swing = height * level, height * amplitude

        def distance(x, y, phase=phase, centre=centre, swing=swing, thickness=thickness):
            crest = centre + swing * math.sin(x / (width / 5.0) + phase)
            return abs(y - crest) - thickness / 2.0
        canvas.shape(distance, (0, centre - swing - thickness - 2, width,
                                centre + swing + thickness + 2), theme["wave"] + (alpha,))


def background(theme, style, size):
    canvas = page(theme, *size)
    if style == "waves":
        waves(canvas, theme)
    return canvas


def button(canvas, theme, left, top, right, bottom, highlight=False):
    radius = min(8, (bottom - top) / 3.0)
    canvas.shape(*rounded_rect(left, top + 2, right, bottom + 2, radius), (0, 0, 0, 40))
    canvas.shape(*rounded_rect(left, top, right, bottom, radius), opaque(theme["button_border"]))
    upper, lower = ((mix(theme["accent"], (255, 255, 255), 0.2), theme["accent"]) if highlight
                    else (theme["button_top"], theme["button_bottom"]))
    canvas.shape(*rounded_rect(left + 1, top + 1, right - 1, bottom - 1, radius - 1),
                 vertical(opaque(upper), opaque(lower), top, bottom))
    # A caption line in the button's text colour.
    middle = (top + bottom) / 2.0
    width = (right - left) * 0.4
    canvas.shape(*rounded_rect((left + right - width) / 2.0, middle - 1.5,
                               (left + right + width) / 2.0, middle + 1.5, 1.5),
                 opaque(theme["button_text"]))


def slider(canvas, theme, left, top, right, bottom, fraction):
    radius = (bottom - top) / 2.0
    canvas.shape(*rounded_rect(left, top, right, bottom, radius),
                 vertical(opaque(theme["track_top"]), opaque(theme["track_bottom"]), top, bottom))
    knob = left + (right - left) * fraction
    canvas.shape(*rounded_rect(left, top, knob, bottom, radius), theme["accent"] + (170,))
    handle = (bottom - top) * 1.6
    canvas.shape(*rounded_rect(knob - handle / 2, top - handle * 0.3, knob + handle / 2,
                               bottom + handle * 0.3, radius),
                 vertical(opaque(theme["handle_top"]), opaque(theme["handle_bottom"]),
                          top - handle * 0.3, bottom + handle * 0.3))


def title_bar(canvas, theme, height):
    width = canvas.width
    canvas.shape(*rounded_rect(0, 0, width, height, 0),
                 vertical(opaque(theme["bar_top"]), opaque(theme["bar_bottom"]), 0, height))
    canvas.shape(*rounded_rect(0, height, width, height + 1, 0), theme["button_border"] + (90,))
    letters = height * 0.42
    lettering(canvas, theme["title"], width / 2.0, (height - letters) / 2.0, letters,
              max(2.0, letters / 7.5), opaque(theme["bar_text"]), spacing=letters * 0.35)


def splash(theme, size):
    width, height = size
    canvas = background(theme, "waves", size)
    title_bar(canvas, theme, 48)
    if width > height:
        for i in range(3):
            left = 40 + i * 140
            button(canvas, theme, left, 80, left + 120, 130, highlight=(i == 1))
        slider(canvas, theme, 60, 176, 420, 188, 0.62)
        for i in range(4):
            left = 40 + i * 105
            button(canvas, theme, left, 214, left + 85, 248)
    else:
        for i in range(4):
            top = 76 + i * 72
            button(canvas, theme, 36, top, 236, top + 52, highlight=(i == 1))
        slider(canvas, theme, 46, 384, 226, 396, 0.62)
        for i in range(2):
            left = 36 + i * 108
            button(canvas, theme, left, 420, left + 92, 456)
    return canvas


def icon(theme, name):
    canvas = Canvas(24, 24)
    ink, accent = opaque(theme["icon"]), opaque(theme["icon_accent"])
    if name == "home":
        canvas.shape(*polygon([(12, 2.5), (22, 11.5), (19, 11.5), (19, 21), (5, 21), (5, 11.5),
                               (2, 11.5)]), ink)
        canvas.shape(*rounded_rect(10, 14, 14, 21, 1), accent)
    elif name == "lights":
        canvas.shape(*circle(12, 9.5, 6.5), accent)
        canvas.shape(*rounded_rect(9, 14, 15, 18, 1), accent)
        canvas.shape(*rounded_rect(9, 18.5, 15, 21.5, 1.5), ink)
        canvas.shape(*polyline([(11, 15), (11, 10), (13, 10), (13, 15)], 1.2), ink)
    elif name == "climate":
        canvas.shape(*rounded_rect(9.5, 2, 14.5, 16, 2.5), ink)
        canvas.shape(*circle(12, 17.5, 4.5), ink)
        canvas.shape(*rounded_rect(11, 7, 13, 17, 1), accent)
        canvas.shape(*circle(12, 17.5, 2.8), accent)
        for y in (5, 8, 11):
            canvas.shape(*polyline([(16, y), (18.5, y)], 1.2), ink)
    elif name == "media":
        canvas.shape(*circle(7.5, 18, 3.5), ink)
        canvas.shape(*circle(17.5, 16, 3.5), ink)
        canvas.shape(*polyline([(10.2, 18), (10.2, 5), (20.2, 3), (20.2, 16)], 1.8), ink)
        canvas.shape(*polygon([(10.2, 5), (20.2, 3), (20.2, 7), (10.2, 9)]), accent)
    elif name == "blinds":
        canvas.shape(*polyline([(3.5, 2.5), (20.5, 2.5), (20.5, 21.5), (3.5, 21.5),
                                (3.5, 2.5)], 1.6), ink)
        for i in range(5):
            y = 5 + i * 3
            canvas.shape(*rounded_rect(5, y, 19, y + 2, 0.5), accent if i < 3 else ink)
    elif name == "security":
        canvas.shape(*polyline(arc(12, 10, 5, 5.5, 180, 360, 16), 2.4), ink)
        canvas.shape(*rounded_rect(4.5, 10, 19.5, 22, 2.5), ink)
        canvas.shape(*circle(12, 15, 2), accent)
        canvas.shape(*rounded_rect(11.2, 15, 12.8, 19, 0.8), accent)
    elif name == "settings":
        points = []
        for i in range(48):
            angle = i * 2 * math.pi / 48
            r = 10.5 if (i // 3) % 2 == 0 else 7.8
            points.append((12 + r * math.cos(angle + 0.07), 12 + r * math.sin(angle + 0.07)))
        canvas.shape(*polygon(points), ink)
        canvas.shape(*circle(12, 12, 3.6), accent)
    elif name == "scenes":
        points = []
        for i in range(10):
            angle = math.radians(-90 + i * 36)
            r = 10.5 if i % 2 == 0 else 4.5
            points.append((12 + r * math.cos(angle), 12.8 + r * math.sin(angle)))
        canvas.shape(*polygon(points), accent)
    return canvas


ICON_NAMES = ["home", "lights", "climate", "media", "blinds", "security", "scenes", "settings"]


def clock_face(theme):
    canvas = Canvas(240, 240)
    canvas.shape(*circle(120, 122, 116), (0, 0, 0, 50))
    canvas.shape(*circle(120, 120, 116), opaque(theme["rim"]))
    canvas.shape(*circle(120, 120, 108), vertical(opaque(theme["face_top"]),
                                                  opaque(theme["face_bottom"]), 12, 228))
    for minute in range(60):
        angle = math.radians(minute * 6)
        hour = minute % 5 == 0
        inner = 84 if hour else 94
        points = [(120 + inner * math.sin(angle), 120 - inner * math.cos(angle)),
                  (120 + 100 * math.sin(angle), 120 - 100 * math.cos(angle))]
        colour = opaque(theme["second"]) if minute % 15 == 0 else opaque(theme["marks"])
        canvas.shape(*polyline(points, 6 if hour else 2), colour)
    return canvas


def clock_hand(theme, length, width):
    canvas = Canvas(240, 240)
    tip = 120 - length
    canvas.shape(*polygon([(120 - width / 2, 134), (120 - width * 0.35, tip + 8), (120, tip),
                           (120 + width * 0.35, tip + 8), (120 + width / 2, 134)]),
                 opaque(theme["hands"]))
    canvas.shape(*circle(120, 120, width * 0.8), opaque(theme["hands"]))
    canvas.shape(*circle(120, 120, width * 0.35), opaque(theme["second"]))
    return canvas


def draw(folder):
    for key, theme in THEMES.items():
        out = os.path.join(folder, key)
        os.makedirs(out, exist_ok=True)
        splash(theme, LANDSCAPE).save(os.path.join(out, "landscape_splash.png"))
        splash(theme, PORTRAIT).save(os.path.join(out, "portrait_splash.png"))
        for style in ("plain", "waves"):
            for orientation, size in (("landscape", LANDSCAPE), ("portrait", PORTRAIT)):
                background(theme, style, size).save(
                    os.path.join(out, "background_%s_%s.png" % (style, orientation)))
        for name in ICON_NAMES:
            icon(theme, name).save(os.path.join(out, "icon_%s.png" % name))
        clock_face(theme).save(os.path.join(out, "clock_face.png"))
        clock_hand(theme, 62, 11).save(os.path.join(out, "clock_hour_hand.png"))
        clock_hand(theme, 92, 8).save(os.path.join(out, "clock_minute_hand.png"))


if __name__ == "__main__":
    draw(sys.argv[1] if len(sys.argv) > 1 else here)
