#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Paints Tintwell's desktop icons from the window icon's picture.

The 16 x 16 icon is the window icon's own pixels, read from its XPM lines. Every larger
size is drawn from the same shapes as vectors (three shaded sticks with pointed tops on
a black backdrop, and a black band near the bottom), so it is sharp, not blown up. An
SVG of the same shapes serves as the scalable icon. Only the standard library is used.

    paint_icons.py OUTDIR            write OUTDIR/<N>x<N>.png, OUTDIR/scalable.svg and
                                     OUTDIR/tintwell.ico (the Windows program's icon)
    paint_icons.py --check DIR       exit 1 unless DIR holds exactly these files
"""

import os
import re
import struct
import sys
import zlib

SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
# The sizes Windows picks from for the program file, the Start menu and the task bar.
ICO_SIZES = [16, 24, 32, 48, 64, 256]
SUBSAMPLES = 4
HERE = os.path.dirname(os.path.abspath(__file__))
XPM = os.path.join(HERE, "..", "resources", "tintwell_icon.xpm")

# Shapes in the window icon's 16-unit grid. Each stick: left edge, apex height, shoulder
# height, and its light, middle and dark shades (left to right).
STICKS = [
    (1.0, 4.0, 7.0, (0xF7, 0, 0), (0xCD, 0, 0), (0xB4, 0, 0)),
    (6.0, 1.0, 4.0, (0, 0xF7, 0), (0, 0xCD, 0), (0, 0xB4, 0)),
    (11.0, 2.0, 5.0, (0, 0, 0xF7), (0, 0, 0xCD), (0, 0, 0xB4)),
]
STICK_WIDTH = 3.0
BACKDROP = (1.0, 6.0, 16.0, 16.0)
BAND = (1.0, 12.0, 16.0, 14.0)
BLACK = (0, 0, 0)


def xpm_pixels():
    """The window icon's pixels as RGBA rows."""
    lines = re.findall(r'"((?:[^"\\]|\\.)*)"', open(XPM).read())
    width, height, colours, _ = (int(v) for v in lines[0].split())
    palette = {}
    for line in lines[1 : 1 + colours]:
        key, colour = line[0], line.split("\tc ")[1].strip()
        palette[key] = (0, 0, 0, 0) if colour == "None" else (
            int(colour[1:3], 16), int(colour[3:5], 16), int(colour[5:7], 16), 255)
    return [[palette[c] for c in row] for row in lines[1 + colours : 1 + colours + height]]


def stick_polygon(left, apex, shoulder):
    right = left + STICK_WIDTH
    return [(left, 16.0), (left, shoulder), (left + STICK_WIDTH / 2, apex), (right, shoulder),
            (right, 16.0)]


def crossings(polygon, y):
    """Where the polygon's edges cross the line at height y, for an even-odd test."""
    return [ax + (y - ay) * (bx - ax) / (by - ay)
            for (ax, ay), (bx, by) in zip(polygon, polygon[1:] + polygon[:1])
            if (ay > y) != (by > y)]


def inside(edges, x):
    """Even-odd test of a point against a polygon, given its crossings at the point's height."""
    return sum(1 for c in edges if x < c) % 2 == 1


def in_box(box, x, y):
    x0, y0, x1, y1 = box
    return x0 <= x < x1 and y0 <= y < y1


def shade(stick, x):
    left, _, _, light, middle, dark = stick
    t = (x - left) / STICK_WIDTH
    a, b, u = (light, middle, t / 0.5) if t < 0.5 else (middle, dark, (t - 0.5) / 0.5)
    return tuple(int(round(p + (q - p) * u)) for p, q in zip(a, b))


POLYGONS = [stick_polygon(*stick[:3]) for stick in STICKS]


def colour_at(x, y, line):
    """The colour of the vector picture at a point of the 16-unit grid, or None. `line`
    holds each stick's crossings at height y: a row's samples share them, which makes
    painting the large sizes several times faster."""
    if in_box(BAND, x, y):
        return BLACK
    for stick, edges in zip(STICKS, line):
        if inside(edges, x):
            return shade(stick, x)
    if in_box(BACKDROP, x, y):
        return BLACK
    return None


def vector_pixels(size):
    rows = []
    n = SUBSAMPLES
    xs = [[(px + (sx + 0.5) / n) * 16 / size for sx in range(n)] for px in range(size)]
    for py in range(size):
        ys = [(py + (sy + 0.5) / n) * 16 / size for sy in range(n)]
        lines = [[crossings(polygon, y) for polygon in POLYGONS] for y in ys]
        row = []
        for px in range(size):
            r = g = b = covered = 0
            for y, line in zip(ys, lines):
                for x in xs[px]:
                    c = colour_at(x, y, line)
                    if c is not None:
                        r, g, b, covered = r + c[0], g + c[1], b + c[2], covered + 1
            if covered:
                row.append((r // covered, g // covered, b // covered, 255 * covered // (n * n)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def png(rows):
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def svg():
    def hexc(c):
        return "#%02x%02x%02x" % c

    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 16 16">',
             "  <defs>"]
    for i, (left, _, _, light, middle, dark) in enumerate(STICKS):
        parts.append('    <linearGradient id="s%d" gradientUnits="userSpaceOnUse" x1="%g" y1="0" x2="%g" y2="0">'
                     % (i, left, left + STICK_WIDTH))
        parts.append('      <stop offset="0" stop-color="%s"/><stop offset="0.5" stop-color="%s"/>'
                     '<stop offset="1" stop-color="%s"/>' % (hexc(light), hexc(middle), hexc(dark)))
        parts.append("    </linearGradient>")
    parts.append("  </defs>")
    x0, y0, x1, y1 = BACKDROP
    parts.append('  <rect x="%g" y="%g" width="%g" height="%g" fill="#000000"/>' % (x0, y0, x1 - x0, y1 - y0))
    for i, stick in enumerate(STICKS):
        points = " ".join("%g,%g" % p for p in stick_polygon(*stick[:3]))
        parts.append('  <polygon points="%s" fill="url(#s%d)"/>' % (points, i))
    x0, y0, x1, y1 = BAND
    parts.append('  <rect x="%g" y="%g" width="%g" height="%g" fill="#000000"/>' % (x0, y0, x1 - x0, y1 - y0))
    parts.append("</svg>")
    return ("\n".join(parts) + "\n").encode()


def ico(pngs):
    """An icon file whose images are stored as PNG, as Windows Vista and later read them."""
    header = struct.pack("<HHH", 0, 1, len(pngs))
    directory = b""
    offset = len(header) + 16 * len(pngs)
    for size, data in pngs:
        side = size if size < 256 else 0  # 0 stands for 256 in the directory
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return header + directory + b"".join(data for _, data in pngs)


def outputs():
    files = {"16x16.png": png(xpm_pixels())}
    for size in SIZES[1:]:
        files["%dx%d.png" % (size, size)] = png(vector_pixels(size))
    files["scalable.svg"] = svg()
    files["tintwell.ico"] = ico([(size, files["%dx%d.png" % (size, size)]) for size in ICO_SIZES])
    return files


def main(argv):
    if len(argv) == 3 and argv[1] == "--check":
        stale = [name for name, data in outputs().items()
                 if not os.path.exists(os.path.join(argv[2], name))
                 or open(os.path.join(argv[2], name), "rb").read() != data]
        if stale:
            print("icons differ from what paint_icons.py paints: " + ", ".join(stale))
            return 1
        return 0
    if len(argv) != 2:
        print(__doc__)
        return 2
    os.makedirs(argv[1], exist_ok=True)
    for name, data in outputs().items():
        with open(os.path.join(argv[1], name), "wb") as out:
            out.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
