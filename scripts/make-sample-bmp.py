#!/usr/bin/env python3
"""Writes a small 24-bit Windows bitmap with a colour gradient:

    make-sample-bmp.py PATH WIDTH HEIGHT
"""
import struct
import sys


def bitmap(width, height):
    row = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(height):
        line = bytearray()
        for x in range(width):
            line += bytes(((x * 255) // max(width - 1, 1), (y * 255) // max(height - 1, 1), 0x80))
        line += bytes(row - len(line))
        pixels += line
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


if __name__ == '__main__':
    path, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    with open(path, 'wb') as out:
        out.write(bitmap(width, height))
