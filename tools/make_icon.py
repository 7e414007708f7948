#!/usr/bin/env python3
"""Draws Corvid's icon at every size Windows asks for and writes one .ico.

The shapes are computed per size (not scaled from one bitmap), so the 16 and
20 pixel images stay sharp in the notification area. 256 is stored as PNG, the
others as 32-bit DIBs with their AND masks, which every Windows version reads.
Usage: make_icon.py OUT.ico [PREVIEW.png]
"""
import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 48, 256)
BACK = (30, 40, 60)     # navy square
RING = (120, 220, 240)  # light cyan "C"


def coverage(size, inside):
    """Anti-aliased coverage of a shape given as inside(x, y) on the unit square."""
    ss = 4 if size > 64 else 8
    out = []
    for py in range(size):
        row = []
        for px in range(size):
            hit = 0
            for sy in range(ss):
                y = (py + (sy + 0.5) / ss) / size
                for sx in range(ss):
                    x = (px + (sx + 0.5) / ss) / size
                    hit += inside(x, y)
            row.append(hit / (ss * ss))
        out.append(row)
    return out


def square(size):
    # A pixel of margin at small sizes keeps the square from touching its neighbours.
    m = 1.0 / size if size <= 32 else 0.03
    r = 0.18

    def inside(x, y):
        if x < m or y < m or x > 1 - m or y > 1 - m:
            return False
        cx = min(max(x, m + r), 1 - m - r)
        cy = min(max(y, m + r), 1 - m - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def letter(size):
    # Thicker strokes at small sizes so the ring does not blur into the square.
    outer = 0.36
    inner = 0.22 if size > 24 else 0.20
    gap = 0.13

    def inside(x, y):
        dx, dy = x - 0.5, y - 0.5
        d2 = dx * dx + dy * dy
        if inner * inner <= d2 <= outer * outer:
            return not (dx > 0 and abs(dy) < gap)
        return False
    return inside


def image(size):
    back = coverage(size, square(size))
    ring = coverage(size, letter(size))
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            a, t = back[y][x], ring[y][x]
            rgb = tuple(round(BACK[i] * (1 - t) + RING[i] * t) for i in range(3))
            row.append(rgb + (round(255 * a),))
        pixels.append(row)
    return pixels


def png(pixels):
    size = len(pixels)
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib(pixels):
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    color = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(pixels) for p in row)
    stride = (size + 31) // 32 * 4
    mask = b""
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + color + mask


def main():
    images = [(s, image(s)) for s in SIZES]
    blobs = [png(p) if s == 256 else dib(p) for s, p in images]
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for (s, _), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(blobs))
    if len(sys.argv) > 2:
        # All sizes side by side on white, to look at.
        width = sum(s + 8 for s in SIZES)
        sheet = [[(255, 255, 255, 255)] * width for _ in range(256)]
        x0 = 0
        for s, p in images:
            for y in range(s):
                for x in range(s):
                    r, g, b, a = p[y][x]
                    sheet[y][x0 + x] = tuple(round(c * a / 255 + 255 * (1 - a / 255)) for c in (r, g, b)) + (255,)
            x0 += s + 8
        # png() expects a square; pad rows to the width.
        sheet += [[(255, 255, 255, 255)] * width for _ in range(width - 256)]
        with open(sys.argv[2], "wb") as f:
            f.write(png(sheet))


if __name__ == "__main__":
    main()
