#!/usr/bin/env python3
"""Writes the program icon: a 32x32 PNG with a bell curve and its heavy tails.

Only the standard library is used, so the icon can be rebuilt anywhere:
    python3 tools/make-icon.py app/tables/cauchy.png
"""
import struct
import sys
import zlib

SIZE = 32


def pixel(x, y):
    # Cream background, grey frame, blue curve over a silver area, black base line.
    if x in (0, SIZE - 1) or y in (0, SIZE - 1):
        return (128, 128, 128, 255)
    # Density of a Cauchy curve centred in the icon, scaled to the height.
    t = (x - (SIZE - 1) / 2) / 4.0
    top = 4 + (SIZE - 9) * (1 - 1 / (1 + t * t))
    if abs(y - top) < 1.2:
        return (0, 0, 200, 255)
    if y > top and y < SIZE - 3:
        return (192, 192, 192, 255)
    if y == SIZE - 3:
        return (0, 0, 0, 255)
    return (255, 251, 240, 255)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "cauchy.png"
    raw = b"".join(b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(SIZE)) for y in range(SIZE))
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(out, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main()
