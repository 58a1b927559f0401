#!/usr/bin/env python3
"""Draws the editor's splash screen, splash.png, 480 x 300 pixels.

    python3 draw_splash.py [output folder]     (default: this folder)

The band of the launch header (dark blue to teal, with soft light waves) with rounded corners,
a wall panel at the top and the product's name in white capitals below it. The editor writes
its message over the picture in white, centred: five empty lines, which leave the name free,
then the version line and two credit lines, which fall on the darker band under the name.
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "..", "scripts"))
from png_canvas import Canvas, circle, lettering, mix, rounded_rect  # noqa: E402

WIDTH, HEIGHT = 480, 300
LEFT = (22, 38, 70)
RIGHT = (26, 116, 136)
WHITE = (255, 255, 255, 255)
BEZEL = (30, 34, 42, 255)
SCREEN_TOP = (214, 236, 246, 255)
SCREEN_BOTTOM = (176, 208, 228, 255)
BAR = (52, 98, 150, 255)
BUTTON = (250, 250, 250, 255)
ACCENT = (240, 160, 48, 255)


def background(x, y):
    """The band's diagonal gradient, darkened towards the bottom where the message is."""
    t = (x / WIDTH) * 0.8 + (y / HEIGHT) * 0.2
    colour = mix(LEFT, RIGHT, t)
    shade = 1.0 - 0.35 * max(0.0, (y - 150) / 150.0)
    return tuple(c * shade for c in colour) + (255,)


def waves(canvas):
    """Soft light waves across the lower half."""
    for phase, amplitude, centre, alpha in ((0.0, 12, 236, 34), (1.9, 16, 254, 24),
                                            (3.3, 9, 276, 18)):
        def distance(x, y, phase=phase, amplitude=amplitude, centre=centre):
            crest = centre + amplitude * math.sin(x / 80.0 + phase)
            return abs(y - crest) - 1.5
        canvas.shape(distance, (0, centre - amplitude - 8, WIDTH, centre + amplitude + 8),
                     (255, 255, 255, alpha))


def panel(canvas):
    """A wall panel showing a page: a bar, three buttons and a slider."""
    left, top, right, bottom = 196, 22, 284, 80
    canvas.shape(*rounded_rect(left + 2, top + 3, right + 2, bottom + 3, 7), (0, 0, 0, 70))
    canvas.shape(*rounded_rect(left, top, right, bottom, 7), BEZEL)

    def screen(x, y):
        return mix(SCREEN_TOP, SCREEN_BOTTOM, (y - top) / float(bottom - top))
    canvas.shape(*rounded_rect(left + 6, top + 6, right - 6, bottom - 6, 2), screen)
    canvas.shape(*rounded_rect(left + 6, top + 6, right - 6, top + 14, 0), BAR)
    for i in range(3):
        x = left + 12 + i * 23
        canvas.shape(*rounded_rect(x, top + 19, x + 18, top + 33, 3), BUTTON)
    canvas.shape(*rounded_rect(left + 12, top + 39, right - 12, top + 43, 2), BUTTON)
    canvas.shape(*rounded_rect(left + 12, top + 39, left + 44, top + 43, 2), ACCENT)
    canvas.shape(*circle(left + 44, top + 41, 3.5), WHITE)


def draw(folder):
    canvas = Canvas(WIDTH, HEIGHT)
    canvas.shape(*rounded_rect(0, 0, WIDTH, HEIGHT, 14), background)
    waves(canvas)
    panel(canvas)
    lettering(canvas, "DRAVELIN", WIDTH / 2.0, 98, 34, 4.2, WHITE, spacing=12)
    canvas.shape(*rounded_rect(176, 146, 304, 148, 1), ACCENT)
    os.makedirs(folder, exist_ok=True)
    canvas.save(os.path.join(folder, "splash.png"))


if __name__ == "__main__":
    draw(sys.argv[1] if len(sys.argv) > 1 else here)
