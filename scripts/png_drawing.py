"""Shared helpers of the scripts that draw the program's bitmap images.

A drawing is a list of layers painted in order; a layer is a function of a point (x, y) in
pixel units that gives an RGBA colour (components 0..255) or None. render() averages
samples × samples points per pixel; write_png() stores the rows as an 8-bit RGBA PNG file.
The shapes that the drawings share are in png_shapes.py.
"""
import os
import struct
import sys
import zlib


def write_png(path, width, height, rows):
    """Writes rows of RGBA pixels (tuples, or flat byte strings) as a PNG file."""
    raw = b"".join(b"\x00" + (bytes(row) if isinstance(row, (bytes, bytearray)) else
                              bytes(v for px in row for v in px)) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def over(top, bottom):
    """Source-over of two straight RGBA colours with components 0..1."""
    ta, ba = top[3], bottom[3]
    a = ta + ba * (1 - ta)
    if a == 0:
        return (0, 0, 0, 0)
    return tuple((top[i] * ta + bottom[i] * ba * (1 - ta)) / a for i in range(3)) + (a,)


def sample(layers, x, y):
    colour = (0, 0, 0, 0)
    for layer in layers:
        c = layer(x, y)
        if c:
            colour = over(tuple(v / 255 for v in c), colour)
    return colour


def render(layers, width, height, samples=4, empty=(0, 0, 0, 0)):
    """Paints the layers into rows of RGBA pixels, each the average of samples x samples
    points; a pixel that no layer covers at any of its points is empty."""
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    c = sample(layers, x + (sx + 0.5) / samples, y + (sy + 0.5) / samples)
                    for i in range(3):
                        acc[i] += c[i] * c[3]
                    acc[3] += c[3]
            alpha = acc[3] / (samples * samples)
            if alpha == 0:
                row.append(empty)
            else:
                row.append(tuple(round(255 * acc[i] / acc[3]) for i in range(3)) +
                           (round(alpha * 255),))
        rows.append(row)
    return rows


def output_folder(default_folder):
    """The folder named on the command line, else default_folder; made when missing."""
    folder = sys.argv[1] if len(sys.argv) > 1 else default_folder
    os.makedirs(folder, exist_ok=True)
    return folder


def draw_icons(icons, size, default_folder):
    """Draws square icons of the given size: (name, function giving the layers) pairs, each
    written as name.png into output_folder(default_folder)."""
    folder = output_folder(default_folder)
    for name, layers in icons:
        write_png(os.path.join(folder, name + ".png"), size, size, render(layers(), size, size))
