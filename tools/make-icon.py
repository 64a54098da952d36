#!/usr/bin/env python3
"""Writes the program icon: a bell curve with its heavy tails over a silver area.

One drawing, given on a 32-unit square, becomes a scalable SVG and PNGs of
16 to 256 pixels for the desktop's icon theme (app/tables/icons/cauchy.svg,
app/tables/icons/<size>/cauchy.png). The program's own 32x32 picture
(app/tables/cauchy.png, shown in its title bar) is written with --window.
Only the standard library is used, so the icons can be rebuilt anywhere:
    python3 tools/make-icon.py app/tables
"""
import math
import os
import struct
import sys
import zlib

UNIT = 32.0
THEME_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)

CREAM = (255, 251, 240)
GREY = (128, 128, 128)
BLUE = (0, 0, 200)
SILVER = (192, 192, 192)
BLACK = (0, 0, 0)

FRAME = 1.0  # width of the grey frame
BASE = 29.0  # top of the black base line, one unit high
STROKE = 1.2  # half the width of the curve


def top(u):
    """Height of the curve at u: a Cauchy density centred in the square."""
    t = (u - UNIT / 2) / 4.0
    return 4 + (UNIT - 9) * (1 - 1 / (1 + t * t))


def slope(u):
    t = (u - UNIT / 2) / 4.0
    return (UNIT - 9) * 2 * t / (1 + t * t) ** 2 / 4.0


def near_curve(u, v):
    """Within STROKE of the curve, measured across it, so its steep flanks are
    as thick as its top: the nearest curve point lies within STROKE to the side."""
    if abs(v - top(u)) > STROKE * (1 + abs(slope(u))) + 0.5:
        return False
    return any((d * STROKE / 12) ** 2 + (v - top(u + d * STROKE / 12)) ** 2 < STROKE**2 for d in range(-12, 13))


def colour(u, v):
    """Colour of the drawing at the point (u, v), both 0..32."""
    if u < FRAME or u >= UNIT - FRAME or v < FRAME or v >= UNIT - FRAME:
        return GREY
    if near_curve(u, v):
        return BLUE
    if BASE <= v < BASE + 1:
        return BLACK
    if top(u) < v < BASE:
        return SILVER
    return CREAM


def render(size):
    """RGBA rows of the drawing at size x size pixels, 4x4 samples a pixel."""
    n = 4
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            acc = [0, 0, 0]
            for j in range(n):
                for i in range(n):
                    c = colour((x + (i + 0.5) / n) * UNIT / size, (y + (j + 0.5) / n) * UNIT / size)
                    for k in range(3):
                        acc[k] += c[k]
            row += bytes(round(a / (n * n)) for a in acc) + b"\xff"
        rows.append(bytes(row))
    return rows


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(size):
    raw = b"".join(b"\x00" + row for row in render(size))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def svg():
    hexc = lambda c: "#%02x%02x%02x" % c
    xs = [FRAME + i * (UNIT - 2 * FRAME) / 120 for i in range(121)]
    curve = " ".join("%.3f,%.3f" % (u, top(u)) for u in xs)
    area = "%.3f,%.3f %s %.3f,%.3f" % (FRAME, BASE, curve, UNIT - FRAME, BASE)
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 32 32">
  <title>Cauchy Distribution</title>
  <rect x="0" y="0" width="32" height="32" fill="{hexc(GREY)}"/>
  <rect x="{FRAME}" y="{FRAME}" width="{UNIT - 2 * FRAME}" height="{UNIT - 2 * FRAME}" fill="{hexc(CREAM)}"/>
  <polygon points="{area}" fill="{hexc(SILVER)}"/>
  <rect x="{FRAME}" y="{BASE}" width="{UNIT - 2 * FRAME}" height="1" fill="{hexc(BLACK)}"/>
  <polyline points="{curve}" fill="none" stroke="{hexc(BLUE)}" stroke-width="{2 * STROKE}" stroke-linejoin="round"/>
</svg>
"""


def write(path, data):
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def window_png():
    """The title bar's 32x32 picture: the same drawing, one sample a pixel."""
    def pixel(x, y):
        return colour(x + 0.5, y + 0.5) + (255,)
    raw = b"".join(b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(32)) for y in range(32))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 32, 32, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    args = [a for a in sys.argv[1:] if a != "--window"]
    out = args[0] if args else "."
    if "--window" in sys.argv:
        write(os.path.join(out, "cauchy.png"), window_png())
    write(os.path.join(out, "icons", "cauchy.svg"), svg().encode())
    for size in THEME_SIZES:
        write(os.path.join(out, "icons", str(size), "cauchy.png"), png(size))


if __name__ == "__main__":
    main()
