#!/usr/bin/env python3
"""Draws the busy animation of the layout page, loader_medium.gif.

    python3 draw_loader_animation.py [output folder]     (default: this folder)

Twelve frames of 32 x 32 pixels, 80 ms
each, looping: eight dots on a circle, the lit one moving clockwise one place per frame with
two fading dots behind it. The background is transparent; each pixel averages 4 x 4 samples
and is then put on a palette of grey levels (alpha below one half becomes transparent).
"""
import math
import os
import struct
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "..", "scripts"))
from png_drawing import output_folder, render  # noqa: E402

SIZE = 32
CENTRE = SIZE / 2
DOTS = 8
FRAMES = 12
RADIUS = 10.5
DOT_RADIUS = 3.0
DELAY_CS = 8
# Palette: index 0 transparent, 1..LEVELS grey levels from black to the lightest dot.
LEVELS = 32


def frame_layers(frame):
    lit = frame * DOTS / FRAMES

    def dot(i):
        a = 2 * math.pi * i / DOTS
        cx, cy = CENTRE + RADIUS * math.sin(a), CENTRE - RADIUS * math.cos(a)
        behind = (lit - i) % DOTS  # 0 for the lit dot, growing behind it
        level = 40 + min(behind, 3) * 50  # dark lit dot, lighter trail, light rest

        def layer(x, y):
            return (level, level, level, 255) if (x - cx) ** 2 + (y - cy) ** 2 <= \
                DOT_RADIUS ** 2 else None
        return layer

    return [dot(i) for i in range(DOTS)]


def palette_index(pixel):
    r, g, b, a = pixel
    if a < 128:
        return 0
    return 1 + min(LEVELS - 1, (r + g + b) // 3 * LEVELS // 256)


def lzw_literal(indices, min_code_size=8):
    """LZW data that codes every pixel as a literal, clearing the table long before the code
    size could grow, so that each code keeps min_code_size + 1 bits."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    width = min_code_size + 1
    codes = []
    for n, index in enumerate(indices):
        if n % 100 == 0:
            codes.append(clear)
        codes.append(index)
    codes.append(end)
    bits, count, out = 0, 0, bytearray()
    for code in codes:
        bits |= code << count
        count += width
        while count >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            count -= 8
    if count:
        out.append(bits & 0xFF)
    blocks = bytearray([min_code_size])
    for start in range(0, len(out), 255):
        chunk = out[start:start + 255]
        blocks += bytes([len(chunk)]) + chunk
    return bytes(blocks + b"\x00")


def write_gif(path, frames):
    palette = bytearray(b"\xff\xff\xff")  # index 0: transparent
    for level in range(LEVELS):
        v = (level * 256 + 128) // LEVELS
        palette += bytes([v, v, v])
    palette += b"\x00" * (3 * 256 - len(palette))
    data = bytearray(b"GIF89a" + struct.pack("<HHBBB", SIZE, SIZE, 0xF7, 0, 0) + palette)
    # Loop for ever.
    data += b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"
    for rows in frames:
        # Disposal 2 (restore to background) and transparent index 0.
        data += b"\x21\xf9\x04" + struct.pack("<BHB", 0x09, DELAY_CS, 0) + b"\x00"
        data += b"\x2c" + struct.pack("<HHHHB", 0, 0, SIZE, SIZE, 0)
        data += lzw_literal([palette_index(p) for row in rows for p in row])
    data += b"\x3b"
    with open(path, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    write_gif(os.path.join(output_folder(here), "loader_medium.gif"),
              [render(frame_layers(f), SIZE, SIZE) for f in range(FRAMES)])
