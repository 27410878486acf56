#!/usr/bin/env python3
"""Renders icons/quorvane.svg's shapes into the PNG sizes of the hicolor theme.

The icon is a few rectangles, so it is drawn here directly (4x4 samples a pixel)
without an SVG library. Run it again after changing the SVG's shapes:
    python3 data/icons/render_icons.py
"""
import os
import struct
import zlib

# (x, y, width, height, corner radius, colour) in the SVG's 256-unit space, drawn in order.
SHAPES = [
    (16, 16, 224, 224, 40, (0x1f, 0x4e, 0x79)),
    (56, 140, 36, 60, 0, (0xff, 0xff, 0xff)),
    (110, 104, 36, 96, 0, (0xff, 0xff, 0xff)),
    (164, 64, 36, 136, 0, (0xff, 0xff, 0xff)),
    (44, 200, 168, 10, 0, (0xf2, 0xa9, 0x00)),
]
SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
HERE = os.path.dirname(os.path.abspath(__file__))


def inside(shape, x, y):
    sx, sy, w, h, r, _ = shape
    if not (sx <= x < sx + w and sy <= y < sy + h):
        return False
    if r == 0:
        return True
    cx = min(max(x, sx + r), sx + w - r)
    cy = min(max(y, sy + r), sy + h - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def render(size):
    scale = 256.0 / size
    n = 4
    rows = []
    for py in range(size):
        row = bytearray([0])  # filter: none
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for j in range(n):
                for i in range(n):
                    x = (px + (i + 0.5) / n) * scale
                    y = (py + (j + 0.5) / n) * scale
                    colour = None
                    for shape in SHAPES:
                        if inside(shape, x, y):
                            colour = shape[5]
                    if colour:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 255
            count = n * n
            alpha = acc[3] / count
            if alpha > 0:
                covered = acc[3] / 255
                row += bytes([round(acc[0] / covered), round(acc[1] / covered), round(acc[2] / covered),
                              round(alpha)])
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return png(size, b"".join(rows))


def png(size, raw):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


for size in SIZES:
    with open(os.path.join(HERE, "quorvane-%d.png" % size), "wb") as f:
        f.write(render(size))
