#!/usr/bin/env python3
"""Draws Pendra's pictures into res/: the program icon and the two glyph strips.

  Pendra.ico  a ruled notepad with a clock over its corner: 16 x 16, 24 x 24,
              32 x 32, 48 x 48 and 64 x 64 in 32-bit colour with soft edges,
              each drawn at its own size (the small ones with fewer details),
              and the first 32 x 32 picture in 16 colours for old displays.
  check.bmp   two 16 x 16 glyphs side by side, 24-bit: a green check mark, then
              its greyed (disabled) look.
  undo.bmp    the same for a curved undo arrow.
  notebook_tools.bmp
              the notebook's fourteen 16 x 16 toolbar pictures side by side,
              16 colours: cut, copy, paste, print, print selected text, fonts,
              find, edit tabs, editor, quick notes, reminders, to-do list,
              help, close. Silver is the background; loaded with the system's
              3D colours it becomes the button face, which the toolbar leaves
              clear.

The glyph strips use olive as background; a button takes the bottom-left pixel
as its transparent colour. Plain Python, no imaging library needed.
Usage: python3 scripts/make-art.py [output folder, default res/]
"""
import math
import os
import struct
import sys

# The 16-colour palette of Windows, in its usual order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)


class Canvas:
    def __init__(self, w, h, fill):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, c):
        x, y = int(round(x)), int(round(y))
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def get(self, x, y):
        return self.px[y][x]

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.set(x, y0, c)
            self.set(x, y1, c)
        for y in range(y0, y1 + 1):
            self.set(x0, y, c)
            self.set(x1, y, c)

    def disc(self, cx, cy, r, c):
        for y in range(self.h):
            for x in range(self.w):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.px[y][x] = c

    def line(self, x0, y0, x1, y1, c, width=1.0):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 4) + 1
        for i in range(steps + 1):
            t = i / steps
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            if width <= 1:
                self.set(x, y, c)
            else:
                self.blob(x, y, width / 2, c)

    def blob(self, cx, cy, r, c):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r + 0.25:
                    self.set(x, y, c)

    def arc(self, cx, cy, r, a0, a1, c, width=1.0):
        """Angles in degrees, 0 = right, 90 = up (screen y grows downwards)."""
        steps = int(abs(a1 - a0) * r / 10) + 8
        pts = []
        for i in range(steps + 1):
            a = math.radians(a0 + (a1 - a0) * i / steps)
            pts.append((cx + r * math.cos(a), cy - r * math.sin(a)))
        for (xa, ya), (xb, yb) in zip(pts, pts[1:]):
            self.line(xa, ya, xb, yb, c, width)


def draw_icon():
    """Index canvas and transparency mask of the 32 x 32 program icon."""
    cv = Canvas(32, 32, None)
    # The notepad: a white sheet with a black edge, a red top band with
    # binding rings, and blue rules.
    cv.rect(2, 4, 21, 30, WHITE)
    cv.frame(2, 4, 21, 30, BLACK)
    cv.rect(3, 5, 20, 7, RED)
    for x in (5, 9, 13, 17):
        cv.rect(x, 2, x + 1, 5, GREY)
        cv.set(x, 2, BLACK)
        cv.set(x + 1, 2, BLACK)
    for y in (11, 15, 19, 23, 27):
        cv.line(5, y, 18, y, BLUE)
    # The clock over the bottom-right corner: yellow face, black rim, hour
    # marks and two hands pointing at ten past two.
    cx, cy, r = 22.5, 21.5, 8.6
    cv.disc(cx, cy, r, BLACK)
    cv.disc(cx, cy, r - 1.2, YELLOW)
    for k in range(12):
        a = math.radians(k * 30)
        cv.set(cx + (r - 2.3) * math.cos(a), cy - (r - 2.3) * math.sin(a), MAROON)
    cv.line(cx, cy, cx, cy - 5.5, BLACK, 1)
    cv.line(cx, cy, cx + 4.0, cy - 2.0, BLACK, 1)
    cv.set(cx, cy, RED)
    mask = [[cv.get(x, y) is None for x in range(32)] for y in range(32)]
    idx = [[0 if cv.get(x, y) is None else cv.get(x, y) for x in range(32)] for y in range(32)]
    return idx, mask


class Shapes:
    """The icon as shapes in a 32-unit square, painted in order onto an RGBA
    picture of any size. Each pixel is sampled 4 x 4 times, so round edges
    come out soft; straight edges and strokes are put on whole pixels, so they
    stay sharp at every size, and a stroke is never thinner than one pixel."""

    SUB = 4

    def __init__(self, size):
        self.size = size
        self.k = size / 32.0
        n = size * self.SUB
        self.cover = [[None] * n for _ in range(n)]  # the colour of each sample

    def _paint(self, inside, box, colour):
        """Colours every sample whose centre the test puts inside; box bounds
        the search (x0, y0, x1, y1 in units)."""
        sub = self.SUB
        n = self.size * sub
        x0 = max(0, int(box[0] * self.k * sub) - 1)
        y0 = max(0, int(box[1] * self.k * sub) - 1)
        x1 = min(n, int(box[2] * self.k * sub) + 2)
        y1 = min(n, int(box[3] * self.k * sub) + 2)
        for sy in range(y0, y1):
            uy = (sy + 0.5) / sub / self.k
            row = self.cover[sy]
            for sx in range(x0, x1):
                if inside((sx + 0.5) / sub / self.k, uy):
                    row[sx] = colour

    def min_width(self, width):
        """A stroke width in units, at least one pixel wide."""
        return max(width, 1.0 / self.k)

    def pixels(self, width):
        """A stroke width as whole pixels, at least one."""
        return max(1, int(round(width * self.k)))

    def edge(self, v):
        """The pixel boundary nearest to v, in units."""
        return round(v * self.k) / self.k

    def centre(self, v, width_px):
        """Where a stroke of the given pixel width along v sits on whole pixels."""
        if width_px % 2:
            return (math.floor(v * self.k) + 0.5) / self.k
        return self.edge(v)

    def rect(self, x0, y0, x1, y1, colour):
        x0, y0, x1, y1 = (self.edge(v) for v in (x0, y0, x1, y1))
        self._paint(lambda x, y: x0 <= x < x1 and y0 <= y < y1, (x0, y0, x1, y1), colour)

    def frame(self, x0, y0, x1, y1, width, colour):
        x0, y0, x1, y1 = (self.edge(v) for v in (x0, y0, x1, y1))
        w = self.pixels(width) / self.k
        self._paint(lambda x, y: x0 <= x < x1 and y0 <= y < y1 and
                    not (x0 + w <= x < x1 - w and y0 + w <= y < y1 - w), (x0, y0, x1, y1), colour)

    def hline(self, xa, xb, y, width, colour):
        """A horizontal stroke with square ends, on whole pixels."""
        w = self.pixels(width)
        y = self.centre(y, w)
        half = w / self.k / 2
        self.rect(xa, y - half, xb, y + half, colour)

    def disc(self, cx, cy, r, colour):
        self._paint(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r,
                    (cx - r, cy - r, cx + r, cy + r), colour)

    def line(self, xa, ya, xb, yb, width, colour):
        """A stroke with round ends."""
        r = self.min_width(width) / 2
        dx, dy = xb - xa, yb - ya
        length2 = dx * dx + dy * dy or 1e-9

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - xa) * dx + (y - ya) * dy) / length2))
            px, py = xa + t * dx - x, ya + t * dy - y
            return px * px + py * py <= r * r
        self._paint(inside, (min(xa, xb) - r, min(ya, yb) - r, max(xa, xb) + r, max(ya, yb) + r),
                    colour)

    def rgba(self):
        """Rows of (r, g, b, a), top row first; a colour is mixed from its samples."""
        sub = self.SUB
        out = []
        for y in range(self.size):
            row = []
            for x in range(self.size):
                r = g = b = a = 0
                for sy in range(y * sub, y * sub + sub):
                    for sx in range(x * sub, x * sub + sub):
                        c = self.cover[sy][sx]
                        if c is not None:
                            r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
                if a:
                    row.append((r // a, g // a, b // a, a * 255 // (sub * sub)))
                else:
                    row.append((0, 0, 0, 0))
            out.append(row)
        return out


def draw_icon_rgba(size):
    """The program icon at one size. Below 32 pixels it keeps only what can
    still be told apart: fewer rings and rules, no hour marks."""
    cv = Shapes(size)
    pal = PALETTE
    small = size < 24
    medium = size < 32
    cv.rect(2, 4, 22, 31, pal[WHITE])
    cv.frame(2, 4, 22, 31, 1, pal[BLACK])
    cv.rect(3, 5, 21, 8, pal[RED])
    rings = (6, 14) if small else (5, 11, 17) if medium else (5, 9, 13, 17)
    for x in rings:
        cv.rect(x, 2, x + 2, 6, pal[GREY])
        cv.rect(x, 2, x + 2, 3, pal[BLACK])
    rules = (12, 18, 24) if small else (11, 15, 19, 23, 27)
    for y in rules:
        cv.hline(5, 19, y, 1, pal[BLUE])
    cx, cy, r = 23, 22, 8.6
    cv.disc(cx, cy, r, pal[BLACK])
    cv.disc(cx, cy, r - (1.6 if small else 1.2), pal[YELLOW])
    if not medium:
        for k in range(12):
            a = math.radians(k * 30)
            cv.disc(cx + (r - 2.5) * math.cos(a), cy - (r - 2.5) * math.sin(a), 0.55, pal[MAROON])
    hand = 1.6 if small else 1.2
    cv.line(cx, cy, cx, cy - 5.5, hand, pal[BLACK])
    cv.line(cx, cy, cx + 4.0, cy - 2.0, hand, pal[BLACK])
    cv.disc(cx, cy, 0.9, pal[RED])
    return cv.rgba()


def ico_image_4bit(idx, mask):
    """The 16-colour picture of an icon directory entry: header, palette,
    colour bits, then the transparency mask."""
    w = h = len(idx)
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        row = idx[y]
        for x in range(0, w, 2):
            xor.append((row[x] << 4) | row[x + 1])
    return header + palette + bytes(xor) + mask_bytes([[m for m in row] for row in mask])


def mask_bytes(transparent):
    """The AND mask, bottom row first, each row padded to 32 bits."""
    w = len(transparent[0])
    out = bytearray()
    for y in range(len(transparent) - 1, -1, -1):
        bits = 0
        for x in range(w):
            bits = (bits << 1) | (1 if transparent[y][x] else 0)
        stride = (w + 31) // 32 * 4
        bits <<= stride * 8 - w
        out += bits.to_bytes(stride, 'big')
    return bytes(out)


def ico_image_32bit(rgba):
    """A 32-bit picture with its alpha channel; the mask marks the clear pixels
    for systems that do not read the alpha."""
    w = h = len(rgba)
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, w * h * 4, 0, 0, 0, 0)
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for (r, g, b, a) in rgba[y]:
            xor += bytes((b, g, r, a))
    mask = [[px[3] == 0 for px in row] for row in rgba]
    return header + bytes(xor) + mask_bytes(mask)


ICON_SIZES = (16, 24, 32, 48, 64)


def ico_bytes(idx, mask):
    """The icon file: the 16-colour 32 x 32 picture first, then the 32-bit
    pictures of every size."""
    images = [(32, 16, 4, ico_image_4bit(idx, mask))]
    for size in ICON_SIZES:
        images.append((size, 0, 32, ico_image_32bit(draw_icon_rgba(size))))
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b''
    for size, colours, bits, image in images:
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0, 1, bits,
                               len(image), offset)
        offset += len(image)
    return directory + entries + b''.join(image for *_, image in images)


OLIVE_RGB = PALETTE[OLIVE]


def glyph_check(c):
    cv = Canvas(16, 16, None)
    cv.line(3, 8, 6, 11.5, c, 2.4)
    cv.line(6, 11.5, 12.5, 3.5, c, 2.4)
    return cv


def glyph_undo(c):
    cv = Canvas(16, 16, None)
    # A U-turn: the stroke leaves the arrow head at the top left, bends round
    # on the right and comes back along the bottom.
    cv.line(5, 5, 9.5, 5, c, 2)
    cv.arc(9.5, 8.75, 3.75, 90, -90, c, 2)
    cv.line(9.5, 12.5, 4, 12.5, c, 2)
    for i in range(4):
        cv.line(2 + i, 5 - i, 2 + i, 5 + i, c)
    return cv


def strip(enabled, disabled_shape):
    """Two glyphs side by side; the disabled one is the shape in grey with a
    white emboss one pixel down and right."""
    out = [[OLIVE_RGB] * 32 for _ in range(16)]
    for y in range(16):
        for x in range(16):
            if enabled.get(x, y) is not None:
                out[y][x] = enabled.get(x, y)
    for y in range(16):
        for x in range(16):
            if disabled_shape.get(x, y) is not None and x + 1 < 16 and y + 1 < 16:
                out[y + 1][16 + x + 1] = (255, 255, 255)
    for y in range(16):
        for x in range(16):
            if disabled_shape.get(x, y) is not None:
                out[y][16 + x] = (128, 128, 128)
    return out


def bmp_bytes(px):
    h, w = len(px), len(px[0])
    row = (w * 3 + 3) // 4 * 4
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray()
        for (r, g, b) in px[y]:
            line += bytes((b, g, r))
        line += b'\0' * (row - len(line))
        data += line
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 14 + 40)
    return header + info + bytes(data)


def tool_page(cv, x0, y0, x1, y1, lines=True):
    cv.rect(x0, y0, x1, y1, WHITE)
    cv.frame(x0, y0, x1, y1, BLACK)
    if lines:
        for y in range(y0 + 2, y1 - 1, 2):
            cv.line(x0 + 2, y, x1 - 2, y, GREY)


def tool_printer(cv):
    cv.rect(4, 1, 11, 6, WHITE)
    cv.frame(4, 1, 11, 6, BLACK)
    cv.rect(1, 6, 14, 12, SILVER)
    cv.frame(1, 6, 14, 12, BLACK)
    cv.line(2, 7, 13, 7, WHITE)
    cv.set(12, 9, LIME)
    cv.rect(4, 11, 11, 14, WHITE)
    cv.frame(4, 11, 11, 14, BLACK)


def draw_tools():
    """The fourteen toolbar pictures, as palette indices."""
    glyphs = []

    cv = Canvas(16, 16, SILVER)  # cut: open scissors
    cv.line(5, 1, 9.5, 10, BLACK)
    cv.line(10, 1, 5.5, 10, BLACK)
    for cx in (4.5, 10.5):
        cv.disc(cx, 12.5, 2.6, NAVY)
        cv.disc(cx, 12.5, 1.3, SILVER)
    glyphs.append(cv)

    cv = Canvas(16, 16, SILVER)  # copy: two sheets
    tool_page(cv, 1, 1, 9, 11)
    tool_page(cv, 6, 5, 14, 15)
    glyphs.append(cv)

    cv = Canvas(16, 16, SILVER)  # paste: a sheet on a clipboard
    cv.rect(1, 2, 11, 15, OLIVE)
    cv.frame(1, 2, 11, 15, BLACK)
    cv.rect(4, 1, 8, 3, GREY)
    cv.frame(4, 1, 8, 3, BLACK)
    tool_page(cv, 6, 6, 14, 15)
    glyphs.append(cv)

    cv = Canvas(16, 16, SILVER)  # print
    tool_printer(cv)
    glyphs.append(cv)

    cv = Canvas(16, 16, SILVER)  # print selected text: a marked line
    tool_printer(cv)
    cv.rect(5, 2, 10, 3, BLUE)
    glyphs.append(cv)

    cv = Canvas(16, 16, SILVER)  # fonts: a large A and a small a
    cv.line(1, 14, 5.5, 2, NAVY, 1.6)
    cv.line(5.5, 2, 10, 14, NAVY, 1.6)
    cv.line(3, 10, 8, 10, NAVY)
    cv.disc(12.5, 12.2, 2.2, MAROON)
    cv.disc(12.5, 12.2, 1.0, SILVER)
    cv.line(14.6, 9.5, 14.6, 14.5, MAROON)
    glyphs.append(cv)

    cv = Canvas(16, 16, SILVER)  # find: a magnifying glass
    cv.disc(6, 6, 5, BLACK)
    cv.disc(6, 6, 3.8, AQUA)
    cv.set(4, 4, WHITE)
    cv.set(5, 3, WHITE)
    cv.line(9.5, 9.5, 14, 14, BLACK, 2.4)
    glyphs.append(cv)

    cv = Canvas(16, 16, SILVER)  # edit tabs: a page with three tabs
    for x0, c in ((1, YELLOW), (6, LIME), (11, AQUA)):
        cv.rect(x0, 2, x0 + 3, 5, c)
        cv.frame(x0, 2, x0 + 3, 5, BLACK)
    tool_page(cv, 1, 5, 14, 15)
    glyphs.append(cv)

    cv = Canvas(16, 16, SILVER)  # editor: a sheet and a pencil
    tool_page(cv, 1, 1, 11, 15)
    cv.line(14, 4, 7, 11, OLIVE, 2.2)
    cv.line(14, 4, 7, 11, YELLOW)
    cv.set(6, 12, BLACK)
    glyphs.append(cv)

    cv = Canvas(16, 16, SILVER)  # quick notes: a yellow note with a folded corner
    cv.rect(1, 1, 14, 14, YELLOW)
    cv.frame(1, 1, 14, 14, OLIVE)
    for y in (5, 8, 11):
        cv.line(3, y, 10, y, OLIVE)
    cv.rect(11, 11, 14, 14, SILVER)
    cv.line(11, 11, 14, 11, OLIVE)
    cv.line(11, 11, 11, 14, OLIVE)
    cv.line(11, 14, 14, 11, OLIVE)
    glyphs.append(cv)

    cv = Canvas(16, 16, SILVER)  # reminders: an alarm clock
    cv.disc(3, 3, 2, MAROON)
    cv.disc(12, 3, 2, MAROON)
    cv.disc(7.5, 8.5, 6, BLACK)
    cv.disc(7.5, 8.5, 4.8, WHITE)
    cv.line(7.5, 8.5, 7.5, 5, BLACK)
    cv.line(7.5, 8.5, 10, 8.5, RED)
    cv.line(4, 14, 2.5, 15.5, BLACK)
    cv.line(11, 14, 12.5, 15.5, BLACK)
    glyphs.append(cv)

    cv = Canvas(16, 16, SILVER)  # to-do list: ticked lines
    tool_page(cv, 1, 1, 14, 15, lines=False)
    for y in (4, 8, 12):
        cv.line(3, y, 4, y + 1, GREEN)
        cv.line(4, y + 1, 6, y - 1, GREEN)
        cv.line(8, y, 12, y, NAVY)
    glyphs.append(cv)

    cv = Canvas(16, 16, SILVER)  # help: a question mark in a blue disc
    cv.disc(7.5, 7.5, 7, NAVY)
    cv.arc(7.5, 5.5, 2.5, 160, -60, WHITE, 1.6)
    cv.line(8.6, 7.8, 7.8, 9.5, WHITE, 1.6)
    cv.rect(7, 11, 8, 12, WHITE)
    glyphs.append(cv)

    cv = Canvas(16, 16, SILVER)  # close: a door with an arrow out of it
    cv.rect(2, 1, 9, 14, MAROON)
    cv.frame(2, 1, 9, 14, BLACK)
    cv.set(7, 8, YELLOW)
    cv.line(8, 8, 14, 8, GREEN, 1.6)
    for i in range(3):
        cv.line(14 - i, 8 - i, 14 - i, 8 + i, GREEN)
    glyphs.append(cv)

    return [[g.get(x, y) for g in glyphs for x in range(16)] for y in range(16)]


def bmp4_bytes(idx):
    """A 16-colour bitmap in the Windows palette."""
    h, w = len(idx), len(idx[0])
    row = ((w + 1) // 2 + 3) // 4 * 4
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray()
        for x in range(0, w, 2):
            line.append((idx[y][x] << 4) | (idx[y][x + 1] if x + 1 < w else 0))
        line += b'\0' * (row - len(line))
        data += line
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    offset = 14 + 40 + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    return header + info + palette + bytes(data)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'res')
    idx, mask = draw_icon()
    with open(os.path.join(out, 'Pendra.ico'), 'wb') as f:
        f.write(ico_bytes(idx, mask))
    green = (0, 128, 0)
    with open(os.path.join(out, 'check.bmp'), 'wb') as f:
        f.write(bmp_bytes(strip(glyph_check(green), glyph_check(1))))
    navy = (0, 0, 160)
    with open(os.path.join(out, 'undo.bmp'), 'wb') as f:
        f.write(bmp_bytes(strip(glyph_undo(navy), glyph_undo(1))))
    with open(os.path.join(out, 'notebook_tools.bmp'), 'wb') as f:
        f.write(bmp4_bytes(draw_tools()))


if __name__ == '__main__':
    main()
