#!/usr/bin/env python3
"""Draws the two 28x28 status pictures of the hotkey rows (a green tick and a red cross on a
round badge) and writes them as PNG files beside this script. Run it again only to change the
pictures; the build embeds the committed files."""

import math
import pathlib
import struct
import zlib

SIZE = 28
SAMPLES = 4  # supersampling per axis, for smooth edges


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def render(badge, strokes):
    centre, radius, half_width = SIZE / 2, SIZE / 2 - 1.5, 1.9
    rows = []
    for y in range(SIZE):
        row = bytearray([0])  # filter type: none
        for x in range(SIZE):
            coverage = [0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    px = x + (sx + 0.5) / SAMPLES
                    py = y + (sy + 0.5) / SAMPLES
                    if math.hypot(px - centre, py - centre) <= radius:
                        mark = any(segment_distance(px, py, *s) <= half_width for s in strokes)
                        coverage[1 if mark else 0] += 1
            total = SAMPLES * SAMPLES
            inside = coverage[0] + coverage[1]
            if inside == 0:
                row += bytes(4)
                continue
            white = coverage[1] / inside
            colour = [round(c * (1 - white) + 255 * white) for c in badge]
            row += bytes(colour + [round(255 * inside / total)])
        rows.append(bytes(row))
    return png(b"".join(rows))


def png(raw):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def main():
    here = pathlib.Path(__file__).resolve().parent
    tick = [(7.5, 14.5, 12.0, 19.0), (12.0, 19.0, 20.5, 9.5)]
    cross = [(9.0, 9.0, 19.0, 19.0), (19.0, 9.0, 9.0, 19.0)]
    (here / "status_ok.png").write_bytes(render((46, 160, 67), tick))
    (here / "status_fail.png").write_bytes(render((208, 52, 44), cross))


if __name__ == "__main__":
    main()
