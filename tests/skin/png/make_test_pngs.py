#!/usr/bin/env python3
"""Writes the plain test pictures of the skin tests: solid RGBA rectangles whose every pixel is known."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(name, width, height, rgba):
    row = b"\x00" + bytes(rgba) * width  # filter type 0 on every row
    raw = row * height
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA, not interlaced
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


write_png("red.png", 40, 30, (255, 0, 0, 255))
write_png("blue.png", 40, 30, (0, 0, 255, 255))
write_png("yellow.png", 40, 30, (255, 255, 0, 255))
write_png("magenta.png", 40, 30, (255, 0, 255, 255))
write_png("cyan.png", 40, 30, (0, 255, 255, 255))
write_png("small_green.png", 20, 10, (0, 160, 0, 255))
write_png("white.png", 80, 40, (255, 255, 255, 255))
with open(os.path.join(HERE, "corrupt.png"), "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n this is not a picture")
