#!/usr/bin/env python3
"""Draws TLWIcon.ico, the Windows icon, from the shapes of tellwright.svg.

Standard library only: each size is rendered with 4x4 samples per pixel and
stored as a 32-bit bitmap with its transparency mask. Run it again after
changing the drawing: python3 resources/make_icon.py
"""
import math
import os
import struct

BUBBLE = (0x2F, 0x5D, 0x8A)
LINES = (0xF4, 0xF1, 0xE8)
DOTS = (0xF4, 0xC5, 0x42)
SEGMENTS = [((13, 21), (20, 21)), ((20, 21), (28, 14)), ((28, 14), (35, 14)),
            ((20, 21), (28, 28)), ((28, 28), (35, 28))]
CENTERS = [(12, 21), (36, 14), (36, 28)]


def in_bubble(x, y):
    left, top, right, bottom, radius = 2, 5, 46, 37, 6
    if left <= x <= right and top <= y <= bottom:
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        if (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2:
            return True
    # the tail: the triangle (21,37) (11,45) (11,37)
    return 11 <= x and 37 <= y and (y - 37) <= (21 - x) * 0.8


def segment_distance(x, y, a, b):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def color_at(x, y):
    if any(math.hypot(x - cx, y - cy) <= 3.5 for cx, cy in CENTERS):
        return DOTS
    if any(segment_distance(x, y, a, b) <= 1.25 for a, b in SEGMENTS):
        return LINES
    if in_bubble(x, y):
        return BUBBLE
    return None


def render(size, samples=4):
    pixels = []
    for row in range(size):
        for column in range(size):
            red = green = blue = covered = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (column + (sx + 0.5) / samples) * 48 / size
                    y = (row + (sy + 0.5) / samples) * 48 / size
                    color = color_at(x, y)
                    if color:
                        red, green, blue, covered = red + color[0], green + color[1], blue + color[2], covered + 1
            if covered:
                pixels.append((red // covered, green // covered, blue // covered, 255 * covered // samples ** 2))
            else:
                pixels.append((0, 0, 0, 0))
    return pixels


def bitmap(size):
    pixels = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colors = bytearray()
    mask = bytearray()
    mask_row_bytes = (size + 31) // 32 * 4
    for row in reversed(range(size)):
        bits = bytearray(mask_row_bytes)
        for column in range(size):
            red, green, blue, alpha = pixels[row * size + column]
            colors += bytes((blue, green, red, alpha))
            if alpha == 0:
                bits[column // 8] |= 0x80 >> (column % 8)
        mask += bits
    return header + bytes(colors) + bytes(mask)


def main():
    sizes = [16, 32, 48]
    images = [bitmap(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    out += b"".join(images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "TLWIcon.ico")
    with open(path, "wb") as icon:
        icon.write(out)


if __name__ == "__main__":
    main()
