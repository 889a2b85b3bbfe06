#!/usr/bin/env python3
"""Draws the program icon (TovrikOcr.ico): a blue tile with the white corners of a selection
and three lines of "text" inside, at 16, 24, 32 and 48 pixels, as 32-bit DIB entries that every
icon loader reads. Run it again after changing the drawing; the .ico is committed."""
import struct
import sys

BLUE = (202, 124, 10, 255)  # B, G, R, A: the overlay's frame colour
WHITE = (255, 255, 255, 255)
CLEAR = (0, 0, 0, 0)


def draw(size):
    s = size / 48.0
    px = [[CLEAR] * size for _ in range(size)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(max(0, int(y0 * s)), min(size, int(round(y1 * s)))):
            for x in range(max(0, int(x0 * s)), min(size, int(round(x1 * s)))):
                px[y][x] = colour

    # Tile with cut corners.
    fill(2, 2, 46, 46, BLUE)
    r = max(1, int(3 * s))
    for y in range(size):
        for x in range(size):
            dx = min(x - int(2 * s), int(46 * s) - 1 - x)
            dy = min(y - int(2 * s), int(46 * s) - 1 - y)
            if dx < r and dy < r and (r - dx) ** 2 + (r - dy) ** 2 > r * r:
                px[y][x] = CLEAR
    # Selection corners.
    t = 3.5
    for (x0, y0, hx, vy) in ((8, 8, 1, 1), (40, 8, -1, 1), (8, 40, 1, -1), (40, 40, -1, -1)):
        fill(min(x0, x0 + hx * 10), min(y0, y0 + vy * t), max(x0, x0 + hx * 10), max(y0, y0 + vy * t), WHITE)
        fill(min(x0, x0 + hx * t), min(y0, y0 + vy * 10), max(x0, x0 + hx * t), max(y0, y0 + vy * 10), WHITE)
    # Lines of text.
    fill(15, 17, 33, 20.5, WHITE)
    fill(15, 22.5, 33, 26, WHITE)
    fill(15, 28, 27, 31.5, WHITE)
    return px


def dib(size):
    px = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colours = b''.join(bytes(px[y][x]) for y in reversed(range(size)) for x in range(size))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        row = bytearray(mask_stride)
        for x in range(size):
            if px[y][x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + colours + bytes(mask)


def main(path):
    sizes = [16, 24, 32, 48]
    images = [dib(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'TovrikOcr.ico')
