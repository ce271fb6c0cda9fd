#!/usr/bin/env python3
"""Packs PNG images into one Windows icon file: make_icon.py OUT.ico IN.png...

Each PNG (square, at most 256 pixels) becomes one image of the icon, stored as PNG, which
Windows reads since Vista."""
import struct
import sys


def main(out, images):
    blobs = [open(path, "rb").read() for path in images]
    header = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    entries = b""
    for blob in blobs:
        if blob[:8] != b"\x89PNG\r\n\x1a\n":
            sys.exit("not a PNG image")
        width, height = struct.unpack(">II", blob[16:24])
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(out, "wb") as icon:
        icon.write(header + entries + b"".join(blobs))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2:])
