#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Paints Tintwell.png, the 334 x 145 picture of the about page.

The three red, green and blue sticks of the window icon, drawn large, with the name
beside them in a small stroke alphabet of our own. Only the standard library is used
and no system font is involved, so every machine paints the same pixels.

    paint_logo.py OUT.png          paint the picture into OUT.png
    paint_logo.py --check IN.png   exit 1 unless IN.png holds exactly these pixels
"""

import math
import struct
import sys
import zlib

WIDTH, HEIGHT = 334, 145
SCALE = 4  # subsamples per pixel along each axis, for smooth edges

W, H = WIDTH * SCALE, HEIGHT * SCALE


class Canvas:
    """An RGB picture at SCALE times the final size, painted in whole pixels."""

    def __init__(self):
        self.rows = [bytearray(W * 3) for _ in range(H)]

    def fill_rows(self, colour_of_row):
        for y in range(H):
            self.rows[y][:] = bytes(colour_of_row(y / SCALE)) * W

    def paint(self, box, colour_at):
        """Calls colour_at(x, y) in final-pixel units for every subsample of box;
        a None answer leaves the subsample as it is."""
        x0, y0, x1, y1 = box
        for sy in range(max(0, int(y0 * SCALE)), min(H, int(math.ceil(y1 * SCALE)))):
            y = (sy + 0.5) / SCALE
            row = self.rows[sy]
            for sx in range(max(0, int(x0 * SCALE)), min(W, int(math.ceil(x1 * SCALE)))):
                colour = colour_at((sx + 0.5) / SCALE, y)
                if colour is not None:
                    row[sx * 3:sx * 3 + 3] = bytes(colour)

    def scanlines(self):
        """The final picture: each pixel is the mean of its subsamples."""
        area = SCALE * SCALE
        out = []
        for y in range(HEIGHT):
            sums = [0] * (WIDTH * 3)
            for sy in range(y * SCALE, (y + 1) * SCALE):
                row = self.rows[sy]
                for i in range(W * 3):
                    sums[(i // (3 * SCALE)) * 3 + i % 3] += row[i]
            out.append(bytes((s + area // 2) // area for s in sums))
        return out


def mix(a, b, t):
    return tuple(int(round(p + (q - p) * t)) for p, q in zip(a, b))


def inside_convex(points, x, y):
    sign = 0
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        cross = (bx - ax) * (y - ay) - (by - ay) * (x - ax)
        if cross != 0:
            if sign == 0:
                sign = 1 if cross > 0 else -1
            elif (cross > 0) != (sign > 0):
                return False
    return True


def stroke(canvas, a, b, width, colour):
    """A straight stroke with round ends from a to b."""
    (ax, ay), (bx, by) = a, b
    r = width / 2
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def colour_at(x, y):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx - x, ay + t * dy - y
        return colour if px * px + py * py <= r * r else None

    canvas.paint((min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r), colour_at)


def polyline(canvas, points, width, colour):
    if len(points) == 1:
        stroke(canvas, points[0], points[0], width, colour)
    for a, b in zip(points, points[1:]):
        stroke(canvas, a, b, width, colour)


# --- the sticks -----------------------------------------------------------------

STICK_WIDTH = 24
STICK_GAP = 6
STICK_LEFT = 26
STICK_BOTTOM = 128
TIP_HEIGHT = 24
BAND = (101, 111)  # the black band across all three, near the bottom
OUTLINE = (0, 0, 0)

# Hue, and the top of the tip: green highest, red lowest, as in the window icon.
STICKS = [
    ((255, 0, 0), 40),
    ((0, 255, 0), 16),
    ((0, 0, 255), 28),
]


def shade(hue, t):
    """A round stick lit from the front left: dark edges, light just left of centre."""
    light = math.sin(math.pi * t ** 0.8) ** 0.7
    return mix(mix(hue, (0, 0, 0), 0.72), hue, light)


def paint_stick(canvas, left, hue, top):
    right = left + STICK_WIDTH
    shoulder = top + TIP_HEIGHT
    outline = [(left, STICK_BOTTOM), (left, shoulder), ((left + right) / 2, top),
               (right, shoulder), (right, STICK_BOTTOM)]

    def colour_at(x, y):
        if not inside_convex(outline, x, y):
            return None
        colour = shade(hue, (x - left) / STICK_WIDTH)
        if y < shoulder:  # the sharpened tip is a little paler towards its point
            colour = mix(colour, (255, 255, 255), 0.35 * (shoulder - y) / TIP_HEIGHT)
        return colour

    canvas.paint((left, top, right, STICK_BOTTOM), colour_at)
    polyline(canvas, outline + [outline[0]], 2.2, OUTLINE)


def paint_sticks(canvas):
    for i, (hue, top) in enumerate(STICKS):
        paint_stick(canvas, STICK_LEFT + i * (STICK_WIDTH + STICK_GAP), hue, top)
    right = STICK_LEFT + 3 * STICK_WIDTH + 2 * STICK_GAP
    canvas.paint((STICK_LEFT - 3, BAND[0], right + 3, BAND[1]), lambda x, y: (16, 16, 16))
    stroke(canvas, (STICK_LEFT - 1, BAND[0] + 2), (right + 1, BAND[0] + 2), 1.2, (90, 90, 90))


# --- the name ---------------------------------------------------------------------

def arc(cx, cy, r, start, end, steps=24):
    """Points on a circle, angles in degrees, counter-clockwise on screen."""
    return [(cx + r * math.cos(math.radians(start + (end - start) * i / steps)),
             cy + r * math.sin(math.radians(start + (end - start) * i / steps)))
            for i in range(steps + 1)]


# Each glyph: (advance width, strokes); y grows upwards from the baseline, cap height 1.
X_HEIGHT = 0.62
GLYPHS = {
    "T": (0.72, [[(0, 1), (0.72, 1)], [(0.36, 1), (0.36, 0)]]),
    "i": (0.0, [[(0, 0), (0, X_HEIGHT)], [(0, 0.88)]]),
    "n": (0.46, [[(0, 0), (0, X_HEIGHT)],
                 [(0, 0.39)] + arc(0.23, 0.39, 0.23, 180, 0) + [(0.46, 0)]]),
    "t": (0.34, [[(0.1, 0.92)] + [(0.1, 0.16)] + arc(0.26, 0.16, 0.16, 180, 270),
                 [(0, X_HEIGHT), (0.32, X_HEIGHT)]]),
    "w": (0.64, [[(0, X_HEIGHT), (0.16, 0), (0.32, 0.48), (0.48, 0), (0.64, X_HEIGHT)]]),
    "e": (0.6, [[(0.01, 0.31), (0.6, 0.31)] + arc(0.3, 0.31, 0.3, 0, 315, 32)]),
    "l": (0.0, [[(0, 0), (0, 1)]]),
}

NAME = "Tintwell"
NAME_LEFT = 130
BASELINE = 86
EM = 42  # cap height in pixels
LETTER_GAP = 0.24
PEN = 0.13
INK = (40, 44, 56)


def paint_name(canvas):
    x = NAME_LEFT
    for letter in NAME:
        advance, strokes = GLYPHS[letter]
        for points in strokes:
            polyline(canvas, [(x + px * EM, BASELINE - py * EM) for px, py in points],
                     PEN * EM, INK)
        x += (advance + LETTER_GAP) * EM
    return x - LETTER_GAP * EM


def paint_rule(canvas, left, right):
    """A thin red, green and blue rule under the name, one third each."""
    third = (right - left) / 3
    for i, (hue, _) in enumerate(STICKS):
        a = left + i * third
        canvas.paint((a, 101, a + third, 105), lambda x, y, hue=hue: mix(hue, (0, 0, 0), 0.15))


def paint():
    canvas = Canvas()
    canvas.fill_rows(lambda y: mix((255, 255, 255), (222, 230, 240), y / HEIGHT))
    paint_sticks(canvas)
    right = paint_name(canvas)
    paint_rule(canvas, NAME_LEFT - PEN * EM / 2, right + PEN * EM / 2)
    return canvas.scanlines()


# --- PNG --------------------------------------------------------------------------

def chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def encode_png(scanlines):
    raw = b"".join(b"\x00" + line for line in scanlines)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def decode_png(data):
    """The unfiltered scanlines of a PNG as this script writes it (8-bit RGB)."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos, header, idat = 8, None, b""
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    if header != (WIDTH, HEIGHT, 8, 2, 0, 0, 0):
        raise ValueError("not a %d x %d 8-bit RGB picture" % (WIDTH, HEIGHT))
    raw = zlib.decompress(idat)
    stride = WIDTH * 3 + 1
    lines = [raw[i * stride:(i + 1) * stride] for i in range(HEIGHT)]
    if any(line[0] != 0 for line in lines):
        raise ValueError("filtered scanlines: not painted by this script")
    return [line[1:] for line in lines]


def main(argv):
    if len(argv) == 3 and argv[1] == "--check":
        with open(argv[2], "rb") as file:
            same = decode_png(file.read()) == paint()
        print("%s: %s" % (argv[2], "matches the painting" if same else "differs from the painting"))
        return 0 if same else 1
    if len(argv) == 2:
        with open(argv[1], "wb") as file:
            file.write(encode_png(paint()))
        return 0
    print(__doc__.strip().splitlines()[-2].strip(), file=sys.stderr)
    print(__doc__.strip().splitlines()[-1].strip(), file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
