#!/usr/bin/env python3
"""Draws the bitmaps and cursors of the Vasquill library.

Run it from anywhere; it writes the .bmp and .cur files beside itself. The pictures are drawn from
simple shapes (polygons, ellipses, thick lines, rings) sampled at pixel centres, so the script
needs nothing beyond the standard library and its output is the same on every run.

    python3 make_artwork.py
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
SILVER = (192, 192, 192)
GREY = (128, 128, 128)
DARK = (64, 64, 64)
LIGHT = (224, 224, 224)
NAVY = (0, 0, 128)
BLUE = (0, 0, 255)
RED = (255, 0, 0)
MAROON = (128, 0, 0)
GREEN = (0, 170, 0)
DARKGREEN = (0, 128, 0)
YELLOW = (255, 204, 0)
GOLD = (204, 153, 0)
BROWN = (153, 102, 51)
TAN = (204, 153, 102)
PINK = (255, 153, 153)
SKY = (102, 153, 255)
HELP_BACK = (255, 255, 224)  # the help page's background, so the logo sits on it seamlessly


# --------------------------------------------------------------------------------------------
# Shapes: each answers whether a point (a pixel centre) lies inside it.


def inside_polygon(points, x, y):
    inside = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def segment_distance(x, y, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
    px, py = x0 + t * dx, y0 + t * dy
    return math.hypot(x - px, y - py)


class Canvas:
    """A picture of RGB pixels; coordinates are in pixels with (0, 0) at the top left."""

    def __init__(self, width, height, background):
        self.width = width
        self.height = height
        self.pixels = [[background] * width for _ in range(height)]

    def paint(self, test, color, box=None):
        x0, y0, x1, y1 = box if box else (0, 0, self.width, self.height)
        for py in range(max(0, int(y0)), min(self.height, int(math.ceil(y1)) + 1)):
            for px in range(max(0, int(x0)), min(self.width, int(math.ceil(x1)) + 1)):
                if test(px + 0.5, py + 0.5):
                    self.pixels[py][px] = color

    def rect(self, x0, y0, x1, y1, color):
        """Fills the pixels x0 <= x < x1, y0 <= y < y1."""
        for py in range(max(0, y0), min(self.height, y1)):
            for px in range(max(0, x0), min(self.width, x1)):
                self.pixels[py][px] = color

    def frame(self, x0, y0, x1, y1, color):
        self.rect(x0, y0, x1, y0 + 1, color)
        self.rect(x0, y1 - 1, x1, y1, color)
        self.rect(x0, y0, x0 + 1, y1, color)
        self.rect(x1 - 1, y0, x1, y1, color)

    def box(self, x0, y0, x1, y1, fill, border=BLACK):
        self.rect(x0, y0, x1, y1, fill)
        self.frame(x0, y0, x1, y1, border)

    def polygon(self, points, color):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.paint(lambda x, y: inside_polygon(points, x, y), color,
                   (min(xs) - 1, min(ys) - 1, max(xs) + 1, max(ys) + 1))

    def ellipse(self, cx, cy, rx, ry, color):
        self.paint(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0, color,
                   (cx - rx - 1, cy - ry - 1, cx + rx + 1, cy + ry + 1))

    def line(self, x0, y0, x1, y1, width, color):
        half = width / 2.0
        self.paint(lambda x, y: segment_distance(x, y, x0, y0, x1, y1) <= half, color,
                   (min(x0, x1) - half - 1, min(y0, y1) - half - 1,
                    max(x0, x1) + half + 1, max(y0, y1) + half + 1))

    def arc(self, cx, cy, radius, width, start_deg, end_deg, color):
        """A ring segment; angles run clockwise from 3 o'clock, as the y axis points down."""
        half = width / 2.0
        span = (end_deg - start_deg) % 360 or 360

        def test(x, y):
            if abs(math.hypot(x - cx, y - cy) - radius) > half:
                return False
            angle = math.degrees(math.atan2(y - cy, x - cx)) % 360
            return (angle - start_deg) % 360 <= span

        self.paint(test, color, (cx - radius - half - 1, cy - radius - half - 1,
                                 cx + radius + half + 1, cy + radius + half + 1))

    def place(self, other, ox, oy):
        for y in range(other.height):
            for x in range(other.width):
                self.pixels[oy + y][ox + x] = other.pixels[y][x]


# --------------------------------------------------------------------------------------------
# Windows bitmap files


def build_palette(canvas, bits):
    """The picture's own colours first (exactly as drawn), then a colour cube and greys."""
    used = []
    for row in canvas.pixels:
        for color in row:
            if color not in used:
                used.append(color)
    size = 1 << bits
    if len(used) > size:
        raise ValueError("%d colours do not fit a %d-bit bitmap" % (len(used), bits))
    filler = [(r, g, b) for r in (0, 51, 102, 153, 204, 255) for g in (0, 51, 102, 153, 204, 255)
              for b in (0, 51, 102, 153, 204, 255)]
    filler += [(v, v, v) for v in range(8, 248, 10)]
    palette = list(used)
    for color in filler:
        if len(palette) == size:
            break
        if color not in palette:
            palette.append(color)
    while len(palette) < size:
        palette.append(BLACK)
    return palette


def pack_row(indices, bits):
    out = bytearray()
    per_byte = 8 // bits
    for start in range(0, len(indices), per_byte):
        value = 0
        chunk = indices[start:start + per_byte]
        for i in range(per_byte):
            value = (value << bits) | (chunk[i] if i < len(chunk) else 0)
        out.append(value)
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def bitmap_bytes(canvas, bits):
    palette = build_palette(canvas, bits)
    lookup = {color: i for i, color in reversed(list(enumerate(palette)))}
    rows = b"".join(pack_row([lookup[c] for c in row], bits) for row in reversed(canvas.pixels))
    colors = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, bits, 0, len(rows),
                       2835, 2835, 0, 0)
    offset = 14 + len(info) + len(colors)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    return header + info + colors + rows


def save_bitmap(name, canvas, bits):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(bitmap_bytes(canvas, bits))


# --------------------------------------------------------------------------------------------
# Windows cursor files: monochrome images, white shapes with a black outline


class Pointer:
    """A monochrome cursor image: a set of shape pixels that get a black outline."""

    def __init__(self, size):
        self.size = size
        self.shape = Canvas(size, size, False)
        self.dark = Canvas(size, size, False)

    def fill(self, draw):
        draw(self.shape, True)

    def ink(self, draw):
        """Draws black inside the shape (details such as a question mark)."""
        draw(self.shape, True)
        draw(self.dark, True)

    def rows(self):
        """Yields (xor_bits, and_bits) rows, top row first."""
        s = self.size
        shape = self.shape.pixels
        for y in range(s):
            xor_row, and_row = [], []
            for x in range(s):
                if shape[y][x]:
                    white = not self.dark.pixels[y][x]
                    xor_row.append(1 if white else 0)
                    and_row.append(0)
                else:
                    near = any(0 <= y + dy < s and 0 <= x + dx < s and shape[y + dy][x + dx]
                               for dy in (-1, 0, 1) for dx in (-1, 0, 1))
                    xor_row.append(0)
                    and_row.append(0 if near else 1)
            yield xor_row, and_row


def cursor_image(pointer):
    s = pointer.size
    rows = list(pointer.rows())
    xor = b"".join(pack_row(r[0], 1) for r in reversed(rows))
    mask = b"".join(pack_row(r[1], 1) for r in reversed(rows))
    info = struct.pack("<IiiHHIIiiII", 40, s, 2 * s, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    colors = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    return info + colors + xor + mask


def save_cursor(name, images):
    """images: list of (Pointer, hot_x, hot_y)."""
    count = len(images)
    blobs = [cursor_image(p) for p, _, _ in images]
    header = struct.pack("<HHH", 0, 2, count)
    offset = 6 + 16 * count
    entries = b""
    for (pointer, hx, hy), blob in zip(images, blobs):
        entries += struct.pack("<BBBBHHII", pointer.size, pointer.size, 0, 0, hx, hy, len(blob),
                               offset)
        offset += len(blob)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(header + entries + b"".join(blobs))


# --------------------------------------------------------------------------------------------
# The navigation pictures, 48 by 48, 256 colours


def draw_system_info():
    c = Canvas(48, 48, SILVER)
    for i in range(6):
        p = 13 + i * 4
        c.rect(p, 6, p + 2, 13, GOLD)
        c.rect(p, 35, p + 2, 42, GOLD)
        c.rect(6, p, 13, p + 2, GOLD)
        c.rect(35, p, 42, p + 2, GOLD)
    c.box(11, 11, 37, 37, DARK)
    c.box(17, 17, 31, 31, GREY, LIGHT)
    c.rect(19, 19, 29, 29, (96, 96, 96))
    c.ellipse(14.5, 14.5, 1.5, 1.5, LIGHT)
    return c


def draw_program_info():
    c = Canvas(48, 48, SILVER)
    c.box(5, 5, 43, 35, LIGHT)
    c.box(9, 9, 39, 31, NAVY)
    c.polygon([(19, 35), (29, 35), (31, 39), (17, 39)], GREY)
    c.box(12, 39, 36, 43, LIGHT)
    c.line(15, 20, 21, 26, 3.2, (0, 204, 0))
    c.line(21, 26, 33, 13, 3.2, (0, 204, 0))
    return c


def draw_text_sheet(c, x0, y0, x1, y1):
    c.box(x0, y0, x1, y1, WHITE)
    for y in range(y0 + 4, y1 - 3, 3):
        c.rect(x0 + 3, y, x1 - 3 - (5 if (y // 3) % 3 == 0 else 0), y + 1, GREY)


def draw_config_files():
    c = Canvas(48, 48, SILVER)
    draw_text_sheet(c, 7, 4, 31, 36)
    draw_text_sheet(c, 16, 12, 40, 44)
    return c


def draw_support_request():
    c = Canvas(48, 48, SILVER)
    c.box(8, 7, 36, 45, BROWN)
    c.box(11, 12, 33, 42, WHITE)
    for y in range(17, 40, 4):
        c.rect(14, y, 30, y + 1, GREY)
    c.box(16, 4, 28, 11, LIGHT, DARK)
    c.rect(20, 6, 24, 8, DARK)
    # The pencil lies across the board, its tip on the paper.
    c.line(43, 9, 28, 31, 5.0, YELLOW)
    c.line(43, 9, 41, 12, 5.0, PINK)
    c.polygon([(26.2, 29.8), (30.0, 32.4), (25.0, 36.0)], TAN)
    c.polygon([(25.6, 34.0), (26.8, 34.9), (25.0, 36.0)], DARK)
    return c


def draw_help():
    c = Canvas(48, 48, SILVER)
    # An open box: back flap, body, front flaps folded outwards.
    c.polygon([(10, 24), (38, 24), (34, 20), (14, 20)], BROWN)
    c.box(10, 24, 38, 44, TAN, BROWN)
    c.polygon([(10, 24), (3, 31), (10, 34)], BROWN)
    c.polygon([(38, 24), (45, 31), (38, 34)], BROWN)
    # A question mark rising out of it.
    c.arc(24, 11, 6, 3.2, 180, 90, BLUE)
    c.line(24, 17, 24, 22, 3.2, BLUE)
    c.ellipse(24, 28, 2.0, 2.0, BLUE)
    return c


# --------------------------------------------------------------------------------------------
# The configuration-file tabs' disk symbols, 30 by 15, 16 colours


def draw_disk(body, shutter, label, mark):
    c = Canvas(15, 15, SILVER)
    c.polygon([(1, 1), (13, 1), (14, 2), (14, 14), (1, 14)], body)
    c.rect(4, 1, 11, 6, shutter)
    c.rect(8, 2, 10, 5, body)
    c.rect(3, 8, 12, 14, label)
    c.rect(4, 10, 11, 11, mark)
    c.rect(4, 12, 11, 13, mark)
    return c


def draw_tab_state():
    c = Canvas(30, 15, SILVER)
    c.place(draw_disk(GREY, LIGHT, WHITE, GREY), 0, 0)
    c.place(draw_disk(BLUE, SILVER, WHITE, RED), 15, 0)
    return c


# --------------------------------------------------------------------------------------------
# The contact icons, five of 16 by 16 side by side, 256 colours


def draw_envelope():
    c = Canvas(16, 16, WHITE)
    c.box(1, 3, 15, 13, (255, 255, 204), DARK)
    c.line(1.5, 3.5, 8, 9, 1.0, DARK)
    c.line(14.5, 3.5, 8, 9, 1.0, DARK)
    return c


def draw_telephone():
    c = Canvas(16, 16, WHITE)
    c.polygon([(3, 8), (13, 8), (15, 14), (1, 14)], MAROON)
    c.rect(5, 9, 11, 13, (255, 204, 153))
    for x in (6, 8, 10):
        for y in (10, 12):
            c.rect(x, y, x + 1, y + 1, DARK)
    c.line(3, 4, 13, 4, 3.0, MAROON)
    c.rect(2, 4, 5, 7, MAROON)
    c.rect(11, 4, 14, 7, MAROON)
    return c


def draw_fax():
    c = Canvas(16, 16, WHITE)
    c.box(4, 1, 12, 8, WHITE, GREY)
    c.rect(5, 3, 11, 4, GREY)
    c.rect(5, 5, 10, 6, GREY)
    c.box(1, 7, 15, 15, SILVER, DARK)
    c.rect(3, 8, 13, 9, DARK)
    c.rect(3, 10, 7, 14, (0, 128, 128))
    for x in (9, 11, 13):
        for y in (10, 12):
            c.rect(x - 1, y, x, y + 1, DARK)
    return c


def draw_letter_box():
    c = Canvas(16, 16, WHITE)
    c.rect(7, 10, 9, 16, BROWN)
    c.polygon([(2, 10), (2, 5), (4, 3), (12, 3), (14, 5), (14, 10)], BLUE)
    c.rect(4, 6, 12, 7, NAVY)
    c.rect(12, 1, 13, 6, DARK)
    c.rect(13, 1, 15, 3, RED)
    return c


def draw_web_page():
    c = Canvas(16, 16, WHITE)
    c.box(1, 1, 11, 14, WHITE, GREY)
    for y in (3, 5, 7):
        c.rect(3, y, 9, y + 1, SILVER)
    c.ellipse(10.5, 10.5, 5.0, 5.0, SKY)
    c.polygon([(8, 7), (11, 6.5), (11, 9), (9, 10), (8, 9)], DARKGREEN)
    c.polygon([(11, 11), (14, 10.5), (14.5, 13), (12, 14.5)], DARKGREEN)
    return c


def draw_contact_icons():
    c = Canvas(80, 16, WHITE)
    for i, draw in enumerate([draw_envelope, draw_telephone, draw_fax, draw_letter_box,
                              draw_web_page]):
        c.place(draw(), i * 16, 0)
    return c


# --------------------------------------------------------------------------------------------
# The help page's logo, 32 by 32, 256 colours: a document with an "i" on a tray


def draw_help_logo():
    c = Canvas(32, 32, HELP_BACK)
    c.polygon([(8, 3), (21, 3), (25, 7), (25, 26), (8, 26)], WHITE)
    c.polygon([(21, 3), (21, 7), (25, 7)], SILVER)
    c.frame(8, 3, 26, 27, DARK)
    c.rect(22, 3, 26, 4, HELP_BACK)
    c.line(21.5, 3.5, 25.5, 7.5, 1.0, DARK)
    c.ellipse(16.5, 9.5, 1.7, 1.7, BLUE)
    c.rect(15, 13, 19, 23, BLUE)
    c.rect(14, 13, 15, 14, BLUE)
    c.rect(14, 22, 20, 23, BLUE)
    c.polygon([(2, 24), (30, 24), (27, 30), (5, 30)], BROWN)
    c.polygon([(4, 24), (28, 24), (27, 26), (5, 26)], TAN)
    return c


# --------------------------------------------------------------------------------------------
# Bitmaps of the framework's own controls


def draw_miniframe_menu():
    # The system-menu button of a tool window, released and pressed.
    c = Canvas(24, 12, WHITE)
    for i, offset in enumerate((0, 12)):
        c.frame(offset, 0, offset + 12, 12, BLACK)
        d = i
        c.polygon([(offset + 3 + d, 4 + d), (offset + 9 + d, 4 + d), (offset + 6 + d, 8 + d)],
                  BLACK)
    return c


def draw_check_list_box():
    # Unchecked, checked and indeterminate boxes of 13 by 13.
    c = Canvas(39, 13, WHITE)
    for i in range(3):
        x = i * 13
        c.box(x, 0, x + 13, 13, WHITE if i < 2 else SILVER, GREY)
        if i > 0:
            ink = BLACK if i == 1 else GREY
            c.line(x + 3, 6, x + 5.5, 9, 1.6, ink)
            c.line(x + 5.5, 9, x + 10, 3.5, 1.6, ink)
    return c


# --------------------------------------------------------------------------------------------
# Cursors


def help_pointer(size):
    k = size / 32.0
    p = Pointer(size)
    arrow = [(1, 1), (1, 19), (5.5, 15), (9, 22), (12, 21), (8.5, 14), (14, 14)]
    p.fill(lambda c, v: c.polygon([(x * k, y * k) for x, y in arrow], v))
    p.fill(lambda c, v: c.ellipse(22 * k, 11 * k, 7 * k, 8.5 * k, v))
    p.fill(lambda c, v: c.rect(int(19 * k), int(19 * k), int(25 * k), int(27 * k), v))
    p.ink(lambda c, v: c.arc(22 * k, 9 * k, 3 * k, 2.2 * k, 180, 90, v))
    p.ink(lambda c, v: c.line(22 * k, 12 * k, 22 * k, 15 * k, 2.2 * k, v))
    p.ink(lambda c, v: c.ellipse(22 * k, 18.5 * k, 1.3 * k, 1.3 * k, v))
    return p, 1, 1


def magnifier(size):
    k = size / 32.0
    p = Pointer(size)
    p.fill(lambda c, v: c.ellipse(12 * k, 12 * k, 10 * k, 10 * k, v))
    p.fill(lambda c, v: c.line(18 * k, 18 * k, 28 * k, 28 * k, 5 * k, v))
    p.ink(lambda c, v: c.arc(12 * k, 12 * k, 8.5 * k, 1.5 * k, 0, 360, v))
    p.ink(lambda c, v: c.line(21 * k, 21 * k, 28 * k, 28 * k, 3 * k, v))
    return p, int(12 * k), int(12 * k)


DIRECTIONS = {
    "north": (0, -1), "south": (0, 1), "east": (1, 0), "west": (-1, 0),
    "northeast": (1, -1), "northwest": (-1, -1), "southeast": (1, 1), "southwest": (-1, 1),
}


def triangle(cx, cy, dx, dy, near, far, half_width):
    """A triangle pointing along (dx, dy), from `near` to `far` away from (cx, cy)."""
    n = math.hypot(dx, dy)
    ux, uy = dx / n, dy / n
    vx, vy = -uy, ux
    base_x, base_y = cx + ux * near, cy + uy * near
    return [(cx + ux * far, cy + uy * far), (base_x + vx * half_width, base_y + vy * half_width),
            (base_x - vx * half_width, base_y - vy * half_width)]


def pan_origin(directions):
    """The anchor shown where the wheel was pressed, with arrows where the view can move."""
    p = Pointer(32)
    p.fill(lambda c, v: c.ellipse(16, 16, 4.5, 4.5, v))
    p.ink(lambda c, v: c.ellipse(16, 16, 1.6, 1.6, v))
    for name in directions:
        dx, dy = DIRECTIONS[name]
        p.fill(lambda c, v, dx=dx, dy=dy: c.polygon(triangle(16, 16, dx, dy, 7, 14, 5), v))
    return p, 16, 16


def pan_moving(name):
    """The pointer while the view moves in one direction."""
    dx, dy = DIRECTIONS[name]
    p = Pointer(32)
    p.fill(lambda c, v: c.ellipse(16, 16, 2.5, 2.5, v))
    p.ink(lambda c, v: c.ellipse(16, 16, 1.2, 1.2, v))
    p.fill(lambda c, v: c.polygon(triangle(16, 16, dx, dy, 5, 15, 7), v))
    p.ink(lambda c, v: c.polygon(triangle(16, 16, dx, dy, 7, 12.5, 4), v))
    return p, 16, 16


# --------------------------------------------------------------------------------------------


def main():
    save_bitmap("system_info.bmp", draw_system_info(), 8)
    save_bitmap("program_info.bmp", draw_program_info(), 8)
    save_bitmap("config_files.bmp", draw_config_files(), 8)
    save_bitmap("support_request.bmp", draw_support_request(), 8)
    save_bitmap("help.bmp", draw_help(), 8)
    save_bitmap("tab_state.bmp", draw_tab_state(), 4)
    save_bitmap("contact_icons.bmp", draw_contact_icons(), 8)
    save_bitmap("help_logo.bmp", draw_help_logo(), 8)
    save_bitmap("miniframe_menu.bmp", draw_miniframe_menu(), 1)
    save_bitmap("checklistbox.bmp", draw_check_list_box(), 4)

    save_cursor("help_pointer.cur", [help_pointer(32), help_pointer(48)])
    save_cursor("magnify.cur", [magnifier(32), magnifier(48)])
    save_cursor("pan_all.cur", [pan_origin(["north", "south", "east", "west"])])
    save_cursor("pan_vertical.cur", [pan_origin(["north", "south"])])
    save_cursor("pan_horizontal.cur", [pan_origin(["east", "west"])])
    save_cursor("pan_north_only.cur", [pan_origin(["north"])])
    save_cursor("pan_south_only.cur", [pan_origin(["south"])])
    save_cursor("pan_none.cur", [pan_origin([])])
    for name in DIRECTIONS:
        save_cursor("pan_%s.cur" % name, [pan_moving(name)])


if __name__ == "__main__":
    main()
