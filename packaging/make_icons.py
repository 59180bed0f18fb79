#!/usr/bin/env python3
"""Draws the PNG icons of the freedesktop icon theme, icons/NxN/tellwright.png,
with the renderer that draws TLWIcon.ico from the shapes of tellwright.svg, so
the sizes both have are the same pixels.

Standard library only. Run it again after changing the drawing:
    python3 packaging/make_icons.py
With --check it writes nothing and exits 1 when a committed PNG differs from
what it would draw.
"""
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # nothing left behind in resources/
sys.path.insert(0, os.path.join(HERE, "..", "resources"))
import make_icon  # noqa: E402

SIZES = [16, 22, 24, 32, 48, 64, 128, 256]


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(size, pixels):
    rows = bytearray()
    for row in range(size):
        rows.append(0)  # no filter
        for red, green, blue, alpha in pixels[row * size:(row + 1) * size]:
            rows += bytes((red, green, blue, alpha) if alpha else (0, 0, 0, 0))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + png_chunk(b"IDAT", zlib.compress(bytes(rows), 9)) +
            png_chunk(b"IEND", b""))


def icon_path(size):
    return os.path.join(HERE, "icons", f"{size}x{size}", "tellwright.png")


def main(argv):
    check = argv[1:] == ["--check"]
    if argv[1:] and not check:
        print(f"usage: {argv[0]} [--check]", file=sys.stderr)
        return 2
    stale = []
    for size in SIZES:
        image = png(size, make_icon.render(size))
        path = icon_path(size)
        if check:
            try:
                with open(path, "rb") as existing:
                    same = existing.read() == image
            except OSError:
                same = False
            if not same:
                stale.append(path)
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(image)
    for path in stale:
        print(f"{path} is not the icon the drawing gives; run python3 packaging/make_icons.py", file=sys.stderr)
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
