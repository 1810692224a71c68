#!/usr/bin/env python3
"""Draws quorzel's program icon and writes app/quorzel.ico: a page of source
text with an arrow cursor over it, at 16, 32 and 48 pixels, 32 bits per pixel
with alpha (and the AND mask older systems read).

The drawing is a list of polygons on a 32 x 32 canvas, rendered at each size
with 4 x 4 samples per pixel. Run: python3 app/make_icon.py
"""
import os
import struct

SIZES = (16, 32, 48)
CANVAS = 32.0
SAMPLES = 4

# (polygon, fill colour, outline colour, outline width in canvas units);
# later shapes cover earlier ones. Colours are (r, g, b).
PAGE = [(6, 1.5), (20, 1.5), (27, 8.5), (27, 30.5), (6, 30.5)]
FOLD = [(20, 1.5), (20, 8.5), (27, 8.5)]
ARROW = [(3, 11), (3, 29), (7.5, 24.5), (10.5, 31), (13.5, 29.5), (10.5, 23.5), (16.5, 23.5)]


def rect(left, top, right, bottom):
    return [(left, top), (right, top), (right, bottom), (left, bottom)]


SHAPES = [
    (PAGE, (255, 255, 255), (64, 64, 64), 1.2),
    (FOLD, (200, 200, 200), (64, 64, 64), 1.0),
    (rect(9, 5, 17, 7.5), (40, 90, 200), None, 0),
    (rect(12, 11, 24, 13.5), (30, 150, 60), None, 0),
    (rect(17, 16.5, 24, 19), (210, 110, 20), None, 0),
    (rect(17, 22, 22, 24.5), (40, 90, 200), None, 0),
    (rect(9, 26.5, 17, 29), (40, 90, 200), None, 0),
    (ARROW, (0, 0, 0), (255, 255, 255), 1.3),
]


def inside(polygon, x, y):
    result = False
    for i, (x1, y1) in enumerate(polygon):
        x2, y2 = polygon[i - 1]
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            result = not result
    return result


def edge_distance(polygon, x, y):
    best = float("inf")
    for i, (x1, y1) in enumerate(polygon):
        x2, y2 = polygon[i - 1]
        dx, dy = x2 - x1, y2 - y1
        t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy)))
        px, py = x1 + t * dx - x, y1 + t * dy - y
        best = min(best, (px * px + py * py) ** 0.5)
    return best


def sample(x, y):
    """The colour at a canvas point, or None where the icon is transparent.
    Outlines lie on the inside of the page and outside the arrow."""
    colour = None
    for polygon, fill, outline, width in SHAPES:
        if inside(polygon, x, y):
            near = outline and polygon is not ARROW and edge_distance(polygon, x, y) < width
            colour = outline if near else fill
        elif polygon is ARROW and edge_distance(polygon, x, y) < width:
            colour = outline
    return colour


def render(size):
    """Rows of (b, g, r, a) from the top."""
    rows = []
    scale = CANVAS / size
    for py in range(size):
        row = []
        for px in range(size):
            total = [0, 0, 0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = sample((px + (sx + 0.5) / SAMPLES) * scale, (py + (sy + 0.5) / SAMPLES) * scale)
                    if c:
                        covered += 1
                        total = [t + v for t, v in zip(total, c)]
            if covered:
                r, g, b = (round(t / covered) for t in total)
                row.append((b, g, r, round(255 * covered / SAMPLES ** 2)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def image_bytes(size):
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes(v for pixel in row for v in pixel) for row in reversed(rows))
    mask_stride = (size + 31) // 32 * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + xor + mask


def main():
    images = [image_bytes(size) for size in SIZES]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, data in zip(SIZES, images):
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "quorzel.ico")
    with open(path, "wb") as f:
        f.write(directory + b"".join(images))


if __name__ == "__main__":
    main()
