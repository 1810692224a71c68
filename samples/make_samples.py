#!/usr/bin/env python3
"""Draws quorzel's sample cursors from ASCII pictures and writes them as
monochrome .cur files: the samples in this folder, and in roundtrip/ the
patterned cursors of odd sizes that the round-trip test converts.

Picture legend ('.' also stands for every pixel past the end of a line):
  '.' transparent (AND 1, XOR 0)    '#' black (AND 0, XOR 0)
  'o' white (AND 0, XOR 1)          '~' inverted screen (AND 1, XOR 1)
Run: python3 samples/make_samples.py
"""
import os
import random
import struct

HAND = [
    "......##",
    ".....#oo#",
    ".....#oo#",
    ".....#oo#",
    ".....#oo#",
    ".....#oo###",
    ".....#oo#oo###",
    ".....#oo#oo#oo##",
    ".....#oo#oo#oo#o#",
    ".###.#oo#oo#oo#oo#",
    ".#oo##oooooooo#oo#",
    ".#ooo#ooooooooooo#",
    "..#oo#ooooooooooo#",
    "...#o#ooooooooooo#",
    "...#ooooooooooooo#",
    "....#oooooooooooo#",
    "....#ooooooooooo#",
    ".....#oooooooooo#",
    ".....#oooooooooo#",
    "......#oooooooo#",
    "......#oooooooo#",
    "......##########",
]

ARROW = [
    "#",
    "##",
    "#o#",
    "#oo#",
    "#ooo#",
    "#oooo#",
    "#ooooo#",
    "#oooooo#",
    "#ooooooo#",
    "#oooo#####",
    "#oo#oo#",
    "#o#.#oo#",
    "##..#oo#",
    "#....#oo#",
    ".....#oo#",
    "......##",
]


def crosshair(size=48, arm=21, gap=4):
    """A thin white cross edged in black, its centre inverting the screen."""
    c = size // 2
    rows = []
    for y in range(size):
        row = ""
        for x in range(size):
            dx, dy = abs(x - c), abs(y - c)
            if dx <= 1 and dy <= 1:
                row += "~"
            elif (dx <= 1 and gap <= dy <= arm) or (dy <= 1 and gap <= dx <= arm):
                row += "o" if min(dx, dy) == 0 and gap < max(dx, dy) < arm else "#"
            else:
                row += "."
        rows.append(row)
    return rows


def pattern(width, height):
    """Every kind of pixel, scattered so that a pixel out of place shows."""
    rng = random.Random(width * 1000 + height)
    return ["".join(".#o~"[rng.getrandbits(2)] for x in range(width)) for y in range(height)]


def cursor_file(picture, width, height, hotspot_x, hotspot_y):
    stride = (width + 31) // 32 * 4
    planes = {"xor": bytearray(), "and": bytearray()}
    for line in reversed([row.ljust(width, ".") for row in picture[:height]]
                         + ["." * width] * (height - len(picture))):
        for name, set_by in (("xor", "o~"), ("and", ".~")):
            bits = "".join("1" if pixel in set_by else "0" for pixel in line)
            planes[name] += int(bits.ljust(stride * 8, "0"), 2).to_bytes(stride, "big")
    masks = bytes(planes["xor"] + planes["and"])
    return (struct.pack("<HHH", 0, 2, 1)
            + struct.pack("<BBBBHHII", width, height, 0, 0, hotspot_x, hotspot_y,
                          40 + 8 + len(masks), 22)
            + struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, 1, 0, len(masks),
                          0, 0, 0, 0)
            + struct.pack("<II", 0x00000000, 0x00FFFFFF) + masks)


def write(path, picture, width, height, hotspot_x, hotspot_y):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(cursor_file(picture, width, height, hotspot_x, hotspot_y))


here = os.path.dirname(os.path.abspath(__file__))
write(os.path.join(here, "hand32.cur"), HAND, 32, 32, 7, 0)
write(os.path.join(here, "arrow16.cur"), ARROW, 16, 16, 0, 0)
write(os.path.join(here, "cross48.cur"), crosshair(), 48, 48, 24, 24)
for w, h in [(1, 1), (2, 3), (3, 5), (4, 7), (5, 2), (6, 4), (7, 6),
             (12, 2), (33, 5), (40, 9), (64, 64), (255, 255)]:
    write(os.path.join(here, "roundtrip", "pattern%dx%d.cur" % (w, h)),
          pattern(w, h), w, h, w - 1, h // 2)
