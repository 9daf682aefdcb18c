#!/usr/bin/env python3
"""Draws Pendra's pictures into res/: the program icon and the two glyph strips.

  Pendra.ico  32 x 32, 16 colours: a ruled notepad with a clock over its corner.
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


def ico_bytes(idx, mask):
    w = h = 32
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        row = idx[y]
        for x in range(0, w, 2):
            xor.append((row[x] << 4) | row[x + 1])
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        bits = 0
        for x in range(w):
            bits = (bits << 1) | (1 if mask[y][x] else 0)
        andm += struct.pack('>I', bits)
    image = header + palette + bytes(xor) + bytes(andm)
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', w, h, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


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
