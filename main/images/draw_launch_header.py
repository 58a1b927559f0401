#!/usr/bin/env python3
"""Draws the launch dialog's header, launch_header.png, 600 x 100 pixels.

    python3 draw_launch_header.py [output folder]     (default: this folder)

A dark blue to teal band with soft light
waves, and at the right a wall panel whose screen shows a page of buttons. Every pixel
averages 3 x 3 samples.
"""
import math
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "..", "scripts"))
from png_drawing import output_folder, render, write_png  # noqa: E402
from png_shapes import rounded_rect  # noqa: E402

WIDTH, HEIGHT = 600, 100
LEFT = (22, 38, 70)
RIGHT = (26, 116, 136)


def background(x, y):
    t = x / WIDTH
    return tuple(round(LEFT[i] + (RIGHT[i] - LEFT[i]) * t) for i in range(3)) + (255,)


def wave(phase, amplitude, centre, alpha):
    def shape(x, y):
        crest = centre + amplitude * math.sin(x / 70.0 + phase)
        d = abs(y - crest)
        return (255, 255, 255, round(alpha * max(0.0, 1 - d / 6))) if d < 6 else None
    return shape


BEZEL = (36, 40, 48, 255)
SCREEN = (206, 230, 242, 255)
BAR = (64, 110, 160, 255)
BUTTON = (250, 250, 250, 255)
ACCENT = (240, 160, 48, 255)


def panel():
    layers = [rounded_rect(462, 18, 568, 82, 6, BEZEL),
              rounded_rect(469, 24, 561, 76, 1, SCREEN),
              rounded_rect(469, 24, 561, 32, 0, BAR)]
    for i in range(3):
        left = 475 + i * 28
        layers.append(rounded_rect(left, 38, left + 22, 52, 3, BUTTON))
    layers.append(rounded_rect(475, 58, 555, 62, 2, BUTTON))
    layers.append(rounded_rect(475, 58, 515, 62, 2, ACCENT))
    layers.append(rounded_rect(475, 66, 497, 72, 2, BUTTON))
    return layers


if __name__ == "__main__":
    layers = [background, wave(0.0, 10, 58, 40), wave(1.7, 14, 66, 28), wave(3.1, 8, 40, 20)]
    layers += panel()
    write_png(os.path.join(output_folder(here), "launch_header.png"), WIDTH, HEIGHT, render(layers, WIDTH, HEIGHT, samples=3))
