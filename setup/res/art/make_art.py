#!/usr/bin/env python3
"""Draws the setup's icons and its header bitmap.

    python3 make_art.py

writes setup.ico (the program icon), warning.ico (the error-state icon) and header.bmp (the
picture in the header band) into the folder above this script, the one setup.rc includes them from.
Shapes are sampled several times per pixel and then reduced to the colour depth each image
needs, so edges look smooth even at 16 x 16. Only the standard library is used and the output is
the same on every run.
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.dirname(HERE)

SAMPLES = 4  # sub-samples per pixel along each axis

# The sixteen colours of the standard Windows palette, which 16-colour icons are drawn with.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


# --------------------------------------------------------------------------------------------
# Shapes: each answers whether a point lies inside it. Coordinates are in "design units": every
# picture is designed on a square of `design` units and scaled to the image size.


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def ring(cx, cy, r_outer, r_inner):
    return lambda x, y: r_inner ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r_outer ** 2


def thick_line(x0, y0, x1, y1, width):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2
    return inside


def rounded_polygon_outline(points, width):
    """The outline of a closed polygon, drawn with a round pen."""
    lines = [thick_line(*points[i], *points[(i + 1) % len(points)], width)
             for i in range(len(points))]
    return lambda x, y: any(line(x, y) for line in lines)


# --------------------------------------------------------------------------------------------
# Painting: a canvas of sub-samples, each an RGB colour or None (transparent).


class Canvas:
    def __init__(self, size, design, background=None):
        self.size = size
        self.scale = size / design
        n = size * SAMPLES
        self.n = n
        self.samples = [[background] * n for _ in range(n)]

    def fill(self, shape, colour):
        """Paints `shape`; `colour` is an RGB tuple or a function of the design point."""
        step = 1.0 / (SAMPLES * self.scale)
        for j in range(self.n):
            y = (j + 0.5) * step
            row = self.samples[j]
            for i in range(self.n):
                x = (i + 0.5) * step
                if shape(x, y):
                    row[i] = colour(x, y) if callable(colour) else colour

    def pixels(self):
        """Averages the sub-samples: rows of (r, g, b, coverage)."""
        out = []
        area = SAMPLES * SAMPLES
        for py in range(self.size):
            row = []
            for px in range(self.size):
                r = g = b = count = 0
                for j in range(py * SAMPLES, (py + 1) * SAMPLES):
                    for c in self.samples[j][px * SAMPLES:(px + 1) * SAMPLES]:
                        if c is not None:
                            r += c[0]
                            g += c[1]
                            b += c[2]
                            count += 1
                if count:
                    row.append((round(r / count), round(g / count), round(b / count),
                                count / area))
                else:
                    row.append((0, 0, 0, 0.0))
            out.append(row)
        return out


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(round(a[k] + (b[k] - a[k]) * t) for k in range(3))


def vertical_gradient(top, bottom, y0, y1):
    return lambda x, y: mix(top, bottom, (y - y0) / (y1 - y0))


# --------------------------------------------------------------------------------------------
# Colour reduction.


def median_cut(colours, count):
    """Up to `count` representative colours of a list of RGB tuples."""
    boxes = [list(colours)]
    while len(boxes) < count:
        boxes.sort(key=lambda box: max(max(c[k] for c in box) - min(c[k] for c in box)
                                       for k in range(3)) if len(box) > 1 else -1)
        box = boxes[-1]
        if len(box) < 2:
            break
        spans = [max(c[k] for c in box) - min(c[k] for c in box) for k in range(3)]
        axis = spans.index(max(spans))
        box.sort(key=lambda c: c[axis])
        half = len(box) // 2
        boxes[-1:] = [box[:half], box[half:]]
    return [tuple(round(sum(c[k] for c in box) / len(box)) for k in range(3))
            for box in boxes if box]


def make_palette(images, pinned, size):
    """A palette of `size` entries: the pinned colours first, then the images' other colours."""
    palette = list(dict.fromkeys(pinned))
    rest = [p[:3] for rows in images for row in rows for p in row
            if p[3] >= 0.5 and p[:3] not in palette]
    unique = list(dict.fromkeys(rest))
    free = size - len(palette)
    palette += unique if len(unique) <= free else median_cut(rest, free)
    palette += [(0, 0, 0)] * (size - len(palette))
    return palette


def nearest(palette, colour, cache, choices=None):
    index = cache.get(colour)
    if index is None:
        index = min(choices or range(len(palette)),
                    key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))
        cache[colour] = index
    return index


def index_image(rows, palette, choices=None):
    """Palette indices and a transparency mask (True = transparent) of averaged pixels; `choices`
    limits the indices used, so a blend of two flat colours snaps to one of them."""
    cache = {}
    indices = [[nearest(palette, p[:3], cache, choices) if p[3] >= 0.5 else 0 for p in row]
               for row in rows]
    mask = [[p[3] < 0.5 for p in row] for row in rows]
    return indices, mask


# --------------------------------------------------------------------------------------------
# File formats.


def pack_rows(rows, bits):
    """Bottom-up DIB rows of palette indices, each padded to four bytes."""
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        acc = nbits = 0
        for value in row:
            acc = (acc << bits) | value
            nbits += bits
            if nbits == 8:
                line.append(acc)
                acc = nbits = 0
        if nbits:
            line.append(acc << (8 - nbits))
        line += bytes(-len(line) % 4)
        data += line
    return bytes(data)


def info_header(width, height, bits, image_size):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, image_size, 0, 0, 0, 0)


def palette_bytes(palette):
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)


def icon_image(indices, mask, palette, bits):
    size = len(indices)
    xor = pack_rows(indices, bits)
    and_mask = pack_rows([[1 if t else 0 for t in row] for row in mask], 1)
    return (info_header(size, size * 2, bits, len(xor) + len(and_mask)) + palette_bytes(palette)
            + xor + and_mask)


def write_icon(path, images):
    """images: (size, bits, bytes of the DIB) in directory order."""
    head = struct.pack('<HHH', 0, 1, len(images))
    offset = len(head) + 16 * len(images)
    entries = b''
    for size, bits, dib in images:
        colours = 1 << bits if bits < 8 else 0
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0, 1, bits,
                               len(dib), offset)
        offset += len(dib)
    with open(path, 'wb') as f:
        f.write(head + entries + b''.join(dib for _, _, dib in images))


def write_bitmap(path, indices, palette):
    size = len(indices)
    pixels = pack_rows(indices, 8)
    body = info_header(size, size, 8, len(pixels)) + palette_bytes(palette) + pixels
    with open(path, 'wb') as f:
        f.write(struct.pack('<2sIHHI', b'BM', 14 + len(body), 0, 0, 14 + 40 + 4 * len(palette)))
        f.write(body)


# --------------------------------------------------------------------------------------------
# The pictures.

OUTLINE = (40, 40, 48)
BOX_FRONT_TOP = (70, 120, 215)
BOX_FRONT_BOTTOM = (25, 55, 150)
BOX_SIDE = (20, 40, 110)
BOX_TOP = (130, 170, 240)
BOX_BAND = (250, 200, 40)
DISC_EDGE = (110, 110, 125)


def draw_setup_icon(size):
    """A software box standing slightly turned, with a compact disc leaning in front of it."""
    c = Canvas(size, 32)
    # The box: front face, right side and top, drawn as one outlined solid.
    front = [(3, 8), (19, 8), (19, 30), (3, 30)]
    side = [(19, 8), (26, 3), (26, 25), (19, 30)]
    top = [(3, 8), (10, 3), (26, 3), (19, 8)]
    outline = [(3, 8), (10, 3), (26, 3), (26, 25), (19, 30), (3, 30)]
    c.fill(polygon(outline), OUTLINE)
    inset = 0.9
    c.fill(polygon([(3 + inset, 8.4), (19 - inset / 2, 8.4), (19 - inset / 2, 30 - inset),
                    (3 + inset, 30 - inset)]),
           vertical_gradient(BOX_FRONT_TOP, BOX_FRONT_BOTTOM, 8, 30))
    c.fill(polygon([(19.5, 8.6), (26 - inset, 3.9), (26 - inset, 24.6), (19.5, 29)]), BOX_SIDE)
    c.fill(polygon([(4.6, 7.6), (10.3, 3.9), (24.4, 3.9), (18.8, 7.6)]), BOX_TOP)
    # A label band across the front and side.
    c.fill(polygon([(3.9, 12), (18.8, 12), (18.8, 15), (3.9, 15)]), BOX_BAND)
    c.fill(polygon([(19.5, 12), (25.1, 8), (25.1, 11), (19.5, 15)]), (190, 150, 20))
    # The disc in front, lower right: rim, silver face with a coloured sheen, hub and hole.
    cx, cy, r = 21.5, 21.5, 10
    c.fill(ellipse(cx, cy, r, r), DISC_EDGE)

    def disc_face(x, y):
        angle = math.atan2(y - cy, x - cx)
        sheen = 0.5 + 0.5 * math.cos(2 * (angle - 0.6))
        base = mix((185, 190, 205), (250, 250, 255), sheen)
        tint = (170, 215, 255) if math.sin(2 * angle) > 0 else (255, 220, 170)
        return mix(base, tint, 0.35 * (1 - sheen))
    c.fill(ellipse(cx, cy, r - 0.9, r - 0.9), disc_face)
    c.fill(ellipse(cx, cy, 3.6, 3.6), (150, 150, 165))
    c.fill(ellipse(cx, cy, 2.7, 2.7), (225, 228, 235))
    c.fill(ellipse(cx, cy, 1.5, 1.5), lambda x, y: None)  # the hole shows what lies behind
    return c.pixels()


TRIANGLE_EDGE = (0, 0, 0)
TRIANGLE_FILL_TOP = (255, 236, 90)
TRIANGLE_FILL_BOTTOM = (250, 190, 0)


def draw_warning_icon(size, flat):
    """A yellow warning triangle with a black exclamation mark; `flat` for 16 colours."""
    c = Canvas(size, 32)
    outer = [(16, 1.5), (31, 29.5), (1, 29.5)]
    inner = [(16, 6.2), (27.1, 27.1), (4.9, 27.1)]
    c.fill(rounded_polygon_outline(outer, 2.2), TRIANGLE_EDGE)
    c.fill(polygon(outer), TRIANGLE_EDGE)
    fill = (255, 255, 0) if flat else vertical_gradient(TRIANGLE_FILL_TOP, TRIANGLE_FILL_BOTTOM,
                                                          6, 27)
    c.fill(polygon(inner), fill)
    # The exclamation mark: a tapering bar and a dot; at 16 x 16 both sit on whole pixels, or
    # the mark blurs into the fill.
    if size >= 32:
        c.fill(polygon([(14.1, 11), (17.9, 11), (17.1, 20.6), (14.9, 20.6)]), TRIANGLE_EDGE)
        c.fill(ellipse(16, 23.6, 1.9, 1.9), TRIANGLE_EDGE)
    else:
        c.fill(rect(14, 12, 18, 20), TRIANGLE_EDGE)
        c.fill(rect(14, 22, 18, 26), TRIANGLE_EDGE)
    return c.pixels()


WHITE = (255, 255, 255)
CASE_LIGHT = (236, 232, 220)
CASE_MID = (205, 200, 186)
CASE_DARK = (150, 146, 134)
SCREEN_TOP = (40, 90, 200)
SCREEN_BOTTOM = (10, 30, 110)


def draw_header_bitmap():
    """A desktop computer on white: a monitor on the left, the tower unit behind it on the right,
    and a keyboard in front."""
    c = Canvas(48, 48, WHITE)
    # Tower unit.
    c.fill(rect(29, 8, 44, 42), OUTLINE)
    c.fill(rect(30, 9, 43, 41), vertical_gradient(CASE_LIGHT, CASE_MID, 9, 41))
    c.fill(rect(41, 9, 43, 41), CASE_DARK)
    for y in (12, 16):  # drive bays
        c.fill(rect(32, y, 40, y + 2.6), CASE_DARK)
        c.fill(rect(32.6, y + 0.6, 39.4, y + 2), (60, 60, 66))
    c.fill(rect(32, 21, 36, 22.4), CASE_DARK)  # floppy slot
    c.fill(ellipse(35, 35, 1.4, 1.4), (40, 190, 60))  # power lamp
    c.fill(rect(32, 25, 40, 26), CASE_DARK)
    c.fill(rect(32, 27.5, 40, 28.5), CASE_DARK)
    # Monitor: stand, case and screen.
    c.fill(polygon([(11, 33), (21, 33), (23.5, 37.5), (8.5, 37.5)]), OUTLINE)
    c.fill(polygon([(12, 33.8), (20, 33.8), (22, 36.8), (10, 36.8)]), CASE_MID)
    c.fill(rect(2, 6, 30, 33.5), OUTLINE)
    c.fill(rect(3, 7, 29, 32.5), vertical_gradient(CASE_LIGHT, CASE_MID, 7, 32))
    c.fill(rect(5.5, 9.5, 26.5, 28.5), (90, 90, 96))
    c.fill(rect(6.5, 10.5, 25.5, 27.5), vertical_gradient(SCREEN_TOP, SCREEN_BOTTOM, 10.5, 27.5))
    c.fill(polygon([(6.5, 10.5), (16, 10.5), (6.5, 19)]),
           lambda x, y: mix((120, 160, 235), SCREEN_TOP, (x - 6.5 + y - 10.5) / 9.5))
    c.fill(ellipse(24, 30.6, 0.9, 0.9), (40, 190, 60))
    # Keyboard in front, slightly in perspective.
    c.fill(polygon([(5, 39), (35, 39), (38, 46), (2, 46)]), OUTLINE)
    c.fill(polygon([(5.7, 39.8), (34.3, 39.8), (36.8, 45.2), (3.2, 45.2)]), CASE_LIGHT)
    for row, (y0, y1) in enumerate(((40.8, 42), (42.8, 44.2))):
        shift = row * 0.8
        x = 6.5 - shift * 1.5
        while x < 33.5 + shift * 1.5 - 1:
            c.fill(rect(x, y0, x + 1.6, y1), CASE_DARK)
            x += 2.4
    return c.pixels()


def flatten(rows, background):
    """Composes partly covered pixels over a background colour, for opaque images."""
    return [[mix(background, p[:3], p[3]) + (1.0,) for p in row] for row in rows]


def main():
    transparent_first = [(0, 0, 0)]  # index 0: what transparent pixels hold

    setup32, setup16 = draw_setup_icon(32), draw_setup_icon(16)
    palette = make_palette([setup32, setup16], transparent_first + [OUTLINE, BOX_BAND], 256)
    write_icon(os.path.join(OUT, 'setup.ico'),
               [(32, 8, icon_image(*index_image(setup32, palette), palette, 8)),
                (16, 8, icon_image(*index_image(setup16, palette), palette, 8))])

    images = []
    for size in (32, 16):
        rows = draw_warning_icon(size, flat=True)
        black_or_yellow = [VGA16.index((0, 0, 0)), VGA16.index((255, 255, 0))]
        images.append((size, 4, icon_image(*index_image(rows, VGA16, black_or_yellow), VGA16, 4)))
    rich = [draw_warning_icon(32, flat=False), draw_warning_icon(16, flat=False)]
    palette = make_palette(rich, transparent_first + [TRIANGLE_EDGE], 256)
    for size, rows in zip((32, 16), rich):
        images.append((size, 8, icon_image(*index_image(rows, palette), palette, 8)))
    write_icon(os.path.join(OUT, 'warning.ico'), images)

    header = flatten(draw_header_bitmap(), WHITE)
    palette = make_palette([header], [WHITE, OUTLINE], 256)
    indices, _ = index_image(header, palette)
    write_bitmap(os.path.join(OUT, 'header.bmp'), indices, palette)


if __name__ == '__main__':
    main()
