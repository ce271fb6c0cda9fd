#!/usr/bin/env python3
"""Lays square PNG images (8-bit RGBA, as rsvg-convert writes them) side by side into one
32-bit Windows bitmap with an alpha channel: make_bitmap_strip.py OUT.bmp IN.png...

The toolbar's image lists are made from such strips, one image per button."""
import struct
import sys
import zlib


def read_png(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG image")
    position, idat, header = 8, b"", None
    while position < len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        body = data[position + 8:position + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        position += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour != 6 or interlace != 0:
        sys.exit(f"{path}: not 8-bit RGBA without interlacing")
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, previous = [], bytearray(stride)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        kind, row = line[0], bytearray(line[1:])
        for x in range(stride):
            left = row[x - 4] if x >= 4 else 0
            up = previous[x]
            corner = previous[x - 4] if x >= 4 else 0
            if kind == 1:
                row[x] = (row[x] + left) & 0xFF
            elif kind == 2:
                row[x] = (row[x] + up) & 0xFF
            elif kind == 3:
                row[x] = (row[x] + (left + up) // 2) & 0xFF
            elif kind == 4:
                guess = left + up - corner
                pa, pb, pc = abs(guess - left), abs(guess - up), abs(guess - corner)
                best = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                row[x] = (row[x] + best) & 0xFF
        rows.append(row)
        previous = row
    return width, height, rows


def main(out, paths):
    images = [read_png(path) for path in paths]
    size = images[0][1]
    if any(w != size or h != size for w, h, _ in images):
        sys.exit("the images differ in size")
    width = size * len(images)
    pixels = bytearray()
    for y in reversed(range(size)):  # bottom-up
        for _, _, rows in images:
            row = rows[y]
            for x in range(size):
                r, g, b, a = row[4 * x:4 * x + 4]
                pixels += bytes((b, g, r, a))
    info = struct.pack("<IiiHHIIiiII", 40, width, size, 1, 32, 0, len(pixels), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(out, "wb") as bitmap:
        bitmap.write(header + info + pixels)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2:])
