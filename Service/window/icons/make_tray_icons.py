#!/usr/bin/env python3
"""Writes the six frames of the tray icon (icont0.ico .. icont5.ico): a register
drawer with a turning light, one sixth of a turn per frame. Run it in this
folder after changing the drawing; the .ico files are kept in the tree."""
import math
import struct

SIZE = 16


def frame_pixels(frame):
    pixels = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]
    # body of the register: dark blue box with a lighter display strip
    for y in range(5, 15):
        for x in range(1, 15):
            pixels[y][x] = (40, 60, 140, 255)
    for y in range(6, 9):
        for x in range(3, 13):
            pixels[y][x] = (150, 230, 150, 255)
    # the light: one of six dots on a small circle above the box
    cx, cy, r = 8, 2.5, 2.2
    for k in range(6):
        a = math.pi * 2 * k / 6
        x = int(round(cx + r * math.cos(a)))
        y = int(round(cy + r * math.sin(a) * 0.6))
        pixels[y][x] = (255, 40, 40, 255) if k == frame else (120, 120, 120, 255)
    return pixels


def ico_bytes(pixels):
    xor = b""
    for row in reversed(pixels):  # bottom-up
        for r, g, b, a in row:
            xor += struct.pack("BBBB", b, g, r, a)
    and_row = b"\x00" * 4  # 16 bits rounded up to 32: every pixel shown by its alpha
    mask = and_row * SIZE
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 22)
    return directory + image


for frame in range(6):
    with open(f"icont{frame}.ico", "wb") as out:
        out.write(ico_bytes(frame_pixels(frame)))
