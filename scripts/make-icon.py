#!/usr/bin/env python3
"""Draws BRAMKOT's icon (resource 128) and writes it as a Windows .ico file
with two images, 32x32 and 16x16 pixels, 16 colours (4 bits per pixel).

The picture: a yellow musical note on a navy tile, with a green arrow that
points out of it to the right (Musepack in, MP3 out).

Usage: make-icon.py [output.ico]   (default: res/bramkot.ico beside this script)
Python 3 standard library only.
"""
import os
import struct
import sys

# The 16 colours of the standard Windows palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, GREEN, SILVER, LIME, YELLOW, BLUE, WHITE = 0, 4, 2, 7, 10, 11, 12, 15
TRANSPARENT = None


def inside_tile(u, v, margin, radius):
    """Inside a square from margin to 1 - margin with rounded corners."""
    lo, hi = margin, 1.0 - margin
    if not (lo <= u <= hi and lo <= v <= hi):
        return False
    cu = min(max(u, lo + radius), hi - radius)
    cv = min(max(v, lo + radius), hi - radius)
    return (u - cu) ** 2 + (v - cv) ** 2 <= radius ** 2


def note(u, v):
    """An eighth note: a tilted oval head, a stem and a flag."""
    du, dv = u - 0.36, v - 0.64
    # The head, tilted by about 25 degrees.
    a = du * 0.906 + dv * 0.423
    b = -du * 0.423 + dv * 0.906
    if (a / 0.15) ** 2 + (b / 0.10) ** 2 <= 1.0:
        return True
    # The stem at the head's right edge.
    if 0.45 <= u <= 0.52 and 0.16 <= v <= 0.64:
        return True
    # The flag: a band that falls from the top of the stem to the right.
    if 0.50 <= u <= 0.72:
        top = 0.16 + (u - 0.50) * 0.9
        if top <= v <= top + 0.12:
            return True
    return False


def arrow(u, v):
    """An arrow pointing right, at the lower right."""
    if 0.56 <= u <= 0.74 and 0.74 <= v <= 0.84:
        return True
    if 0.72 <= u <= 0.92:
        half = (0.92 - u) * 0.75
        return abs(v - 0.79) <= half
    return False


def draw(size):
    """The picture at `size` pixels: rows top first of palette indices or TRANSPARENT."""
    border = 1.0 / size
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            u, v = (x + 0.5) / size, (y + 0.5) / size
            if not inside_tile(u, v, 0.02, 0.2):
                row.append(TRANSPARENT)
            elif arrow(u, v):
                row.append(LIME)
            elif note(u, v):
                row.append(YELLOW)
            elif not inside_tile(u, v, 0.02 + border, 0.2 - border):
                row.append(BLACK)
            else:
                row.append(NAVY)
        rows.append(row)
    return rows


def pack_rows(bits_per_row):
    """Pads one row of bits to whole 32-bit words."""
    while len(bits_per_row) % 32:
        bits_per_row.append(0)
    out = bytearray()
    for i in range(0, len(bits_per_row), 8):
        byte = 0
        for bit in bits_per_row[i:i + 8]:
            byte = (byte << 1) | bit
        out.append(byte)
    return bytes(out)


def image(size):
    """One icon image: header, palette, colour bits and the transparency mask."""
    rows = draw(size)
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bottom row first
        bits = []
        for index in row:
            index = 0 if index is TRANSPARENT else index
            bits.extend((index >> shift) & 1 for shift in (3, 2, 1, 0))
        colour += pack_rows(bits)
        mask += pack_rows([1 if index is TRANSPARENT else 0 for index in row])
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0,
                         len(colour) + len(mask), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(colour) + bytes(mask)


def icon_file(sizes):
    images = [image(size) for size in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b''.join(images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'res', 'bramkot.ico')
    with open(target, 'wb') as f:
        f.write(icon_file([32, 16]))


if __name__ == '__main__':
    main()
