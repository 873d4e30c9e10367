#!/usr/bin/env python3
"""Writes res/printer.ico: a printer, 32x32 and 16x16, 16 colours each.

Usage: make_icon.py [output.ico]   (default: res/printer.ico beside tools/)

Standard library only, so the icon can be rebuilt on any machine; the
output is byte-for-byte reproducible.
"""
import os
import struct
import sys

# The 16-colour VGA palette (R, G, B); indexes are the pixel values.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, GREEN, NAVY, SILVER, GRAY, LIME, WHITE = 0, 2, 4, 7, 8, 10, 15


class Canvas:
    """Pixels are palette indexes; None is transparent."""

    def __init__(self, size):
        self.size = size
        self.px = [[None] * size for _ in range(size)]

    def fill(self, colour, x0, y0, x1, y1):
        """Fills the rectangle with corners (x0, y0) and (x1, y1), inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.px[y][x] = colour

    def box(self, fill, x0, y0, x1, y1, edge=BLACK):
        self.fill(edge, x0, y0, x1, y1)
        self.fill(fill, x0 + 1, y0 + 1, x1 - 1, y1 - 1)

    def hline(self, colour, x0, x1, y):
        self.fill(colour, x0, y, x1, y)


def printer_32():
    c = Canvas(32)
    # Sheet going in at the top, with lines of print.
    c.box(WHITE, 9, 1, 22, 14)
    for y in (4, 6, 8):
        c.hline(GRAY, 11, 20, y)
    # Body, lit from above.
    c.box(SILVER, 2, 11, 29, 24)
    c.hline(WHITE, 3, 28, 12)
    c.hline(GRAY, 3, 28, 23)
    # Paper slot and a green power lamp.
    c.hline(BLACK, 7, 24, 14)
    c.fill(LIME, 25, 17, 26, 18)
    c.fill(GREEN, 25, 19, 26, 19)
    # Printed sheet coming out at the front.
    c.box(WHITE, 7, 20, 24, 30)
    for y in (23, 25, 27):
        c.hline(NAVY, 9, 22, y)
    return c


def printer_16():
    c = Canvas(16)
    c.box(WHITE, 4, 0, 11, 7)
    c.hline(GRAY, 5, 10, 2)
    c.hline(GRAY, 5, 10, 4)
    c.box(SILVER, 1, 6, 14, 12)
    c.hline(WHITE, 2, 13, 7)
    c.fill(LIME, 12, 9, 12, 9)
    c.box(WHITE, 3, 10, 12, 15)
    c.hline(NAVY, 5, 10, 12)
    return c


def bmp_rows(canvas):
    """Colour and mask rows, bottom row first, each padded to 4 bytes."""
    n = canvas.size
    colour_stride = (n * 4 + 31) // 32 * 4
    mask_stride = (n + 31) // 32 * 4
    colour, mask = bytearray(), bytearray()
    for row in reversed(canvas.px):
        line = bytearray(colour_stride)
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p is None:
                bits[x // 8] |= 0x80 >> (x % 8)   # mask 1: screen shows through
                p = 0                            # and the colour must be black
            line[x // 2] |= p << (4 if x % 2 == 0 else 0)
        colour += line
        mask += bits
    return bytes(colour), bytes(mask)


def icon_image(canvas):
    n = canvas.size
    colour, mask = bmp_rows(canvas)
    # The height counts colour and mask together.
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 4, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + colour + mask


def ico(canvases):
    images = [icon_image(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.size, c.size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res", "printer.ico")
    with open(path, "wb") as f:
        f.write(ico([printer_32(), printer_16()]))


if __name__ == "__main__":
    main()
