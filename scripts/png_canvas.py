"""A canvas for the larger bitmap images (splash screens, page backgrounds, clock faces).

png_drawing.render() averages many samples a pixel over every layer, which is too slow in
Python for pictures of a few hundred pixels a side. A Canvas instead paints shapes described
by their signed distance (negative inside, in pixels): a pixel is covered by 0.5 - distance,
clamped to 0..1, which gives antialiased edges with one sample a pixel. Every shape is painted
only inside its bounding box. Colours are straight RGBA with components 0..255; a paint is a
colour or a function of the pixel centre (x, y) that gives one.

The stroke lettering (capital letters drawn as lines of a given thickness) lives here too, so
that the splash screens can carry words without a font file.
"""
import math

from png_drawing import write_png


def clamp(value, low=0.0, high=1.0):
    return low if value < low else high if value > high else value


def mix(a, b, t):
    """The colour t of the way from a to b (components of either length 3 or 4)."""
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))


def vertical(top, bottom, y0, y1):
    """A paint that runs from the top colour at y0 to the bottom colour at y1."""
    span = float(y1 - y0) or 1.0
    return lambda x, y: mix(top, bottom, clamp((y - y0) / span))


class Canvas:
    def __init__(self, width, height, colour=(0, 0, 0, 0)):
        self.width, self.height = width, height
        self.pixels = [list(colour) for _ in range(width * height)]

    def fill(self, paint):
        """Paints every pixel with the paint, over what is there."""
        self.shape(lambda x, y: -1.0, (0, 0, self.width, self.height), paint)

    def shape(self, distance, box, paint, opacity=1.0):
        """Paints the shape whose signed distance the function gives, inside the box (left,
        top, right, bottom, in pixels; clipped to the canvas)."""
        left, top, right, bottom = box
        x0, x1 = max(0, int(math.floor(left))), min(self.width, int(math.ceil(right)))
        y0, y1 = max(0, int(math.floor(top))), min(self.height, int(math.ceil(bottom)))
        fixed = paint if isinstance(paint, tuple) else None
        for py in range(y0, y1):
            cy = py + 0.5
            row = py * self.width
            for px in range(x0, x1):
                cx = px + 0.5
                coverage = 0.5 - distance(cx, cy)
                if coverage <= 0:
                    continue
                colour = fixed or paint(cx, cy)
                alpha = (colour[3] if len(colour) > 3 else 255) / 255.0
                self._blend(self.pixels[row + px], colour, alpha * opacity * min(coverage, 1.0))

    @staticmethod
    def _blend(pixel, colour, a):
        if a <= 0:
            return
        base = pixel[3] / 255.0
        out = a + base * (1 - a)
        for i in range(3):
            pixel[i] = (colour[i] * a + pixel[i] * base * (1 - a)) / out
        pixel[3] = out * 255.0

    def rows(self):
        out = []
        for y in range(self.height):
            row = bytearray()
            for pixel in self.pixels[y * self.width:(y + 1) * self.width]:
                if pixel[3] < 0.5:
                    row += b"\x00\x00\x00\x00"
                else:
                    row += bytes(int(round(clamp(v, 0, 255))) for v in pixel)
            out.append(bytes(row))
        return out

    def save(self, path):
        write_png(path, self.width, self.height, self.rows())


# Signed distances of the shapes; each returns (distance function, bounding box).

def rounded_rect(left, top, right, bottom, radius):
    cx, cy = (left + right) / 2.0, (top + bottom) / 2.0
    hx, hy = (right - left) / 2.0 - radius, (bottom - top) / 2.0 - radius

    def distance(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return distance, (left - 1, top - 1, right + 1, bottom + 1)


def circle(cx, cy, r):
    return (lambda x, y: math.hypot(x - cx, y - cy) - r), (cx - r - 1, cy - r - 1,
                                                          cx + r + 1, cy + r + 1)


def ring(cx, cy, r, width):
    """A circle line of the given width centred on radius r."""
    return ((lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2.0),
            (cx - r - width, cy - r - width, cx + r + width, cy + r + width))


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else clamp(((x - ax) * dx + (y - ay) * dy) / length)
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def polyline(points, width):
    """Lines through the points, with round ends and joins."""
    segments = list(zip(points, points[1:]))
    half = width / 2.0

    def distance(x, y):
        return min(segment_distance(x, y, a[0], a[1], b[0], b[1]) for a, b in segments) - half
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return distance, (min(xs) - width, min(ys) - width, max(xs) + width, max(ys) + width)


def polygon(points):
    """A polygon filled by the even-odd rule."""
    edges = list(zip(points, points[1:] + points[:1]))

    def distance(x, y):
        d = min(segment_distance(x, y, a[0], a[1], b[0], b[1]) for a, b in edges)
        inside = False
        for (xi, yi), (xj, yj) in edges:
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
        return -d if inside else d
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return distance, (min(xs) - 1, min(ys) - 1, max(xs) + 1, max(ys) + 1)


def arc(cx, cy, rx, ry, start, stop, steps=12):
    """Points along an ellipse from angle start to stop (degrees, clockwise from three
    o'clock, as y grows downwards)."""
    return [(cx + rx * math.cos(math.radians(start + (stop - start) * i / steps)),
             cy + ry * math.sin(math.radians(start + (stop - start) * i / steps)))
            for i in range(steps + 1)]


# The stroke letters: each a list of lines in a box one unit high, with the letter's width.
LETTERS = {
    "A": (0.74, [[(0, 1), (0.37, 0), (0.74, 1)], [(0.13, 0.64), (0.61, 0.64)]]),
    "D": (0.74, [[(0, 0), (0, 1), (0.26, 1)] + arc(0.26, 0.5, 0.48, 0.5, 90, -90) +
                 [(0, 0)]]),
    "E": (0.58, [[(0.58, 0), (0, 0), (0, 1), (0.58, 1)], [(0, 0.5), (0.48, 0.5)]]),
    "G": (0.84, [arc(0.44, 0.5, 0.44, 0.5, -35, -360, 24) + [(0.5, 0.5)]]),
    "H": (0.7, [[(0, 0), (0, 1)], [(0.7, 0), (0.7, 1)], [(0, 0.5), (0.7, 0.5)]]),
    "I": (0.0, [[(0, 0), (0, 1)]]),
    "L": (0.56, [[(0, 0), (0, 1), (0.56, 1)]]),
    "M": (0.86, [[(0, 1), (0, 0), (0.43, 0.72), (0.86, 0), (0.86, 1)]]),
    "N": (0.72, [[(0, 1), (0, 0), (0.72, 1), (0.72, 0)]]),
    "R": (0.66, [[(0, 1), (0, 0), (0.36, 0)] + arc(0.36, 0.27, 0.27, 0.27, -90, 90) +
                 [(0, 0.54)], [(0.3, 0.54), (0.66, 1)]]),
    "T": (0.7, [[(0, 0), (0.7, 0)], [(0.35, 0), (0.35, 1)]]),
    "V": (0.74, [[(0, 0), (0.37, 1), (0.74, 0)]]),
    "Y": (0.72, [[(0, 0), (0.36, 0.5), (0.72, 0)], [(0.36, 0.5), (0.36, 1)]]),
}


def text_width(text, height, stroke, spacing):
    widths = [LETTERS[c][0] * height + stroke for c in text]
    return sum(widths) + spacing * (len(text) - 1)


def lettering(canvas, text, centre_x, top, height, stroke, paint, spacing=None):
    """Draws the capitals centred on centre_x, their tops at top, each line stroke wide."""
    spacing = height * 0.28 if spacing is None else spacing
    x = centre_x - text_width(text, height, stroke, spacing) / 2.0 + stroke / 2.0
    for c in text:
        width, lines = LETTERS[c]
        for line in lines:
            points = [(x + px * height, top + py * height) for px, py in line]
            canvas.shape(*polyline(points, stroke), paint)
        x += width * height + stroke + spacing
