#!/usr/bin/env python3
"""Writes Beispiel/frmHaupt.frx, the binary resource file of the example form.

The bytes imitate two small image entries as VB stores them for an image list. They hold on
purpose what a text rewrite would damage: NUL bytes, bytes of 0x80 and above, a lone CR, a
lone LF, a CR LF pair and the texts "ComctlLib." and "COMCTL32.OCX". The conversion must copy
the file untouched. Run once; the result is checked in.
"""
import pathlib
import struct


def image_entry(seed: int) -> bytes:
    # A length-prefixed blob: a tiny bitmap-like header and a patterned body of 0x70 bytes.
    header = b"BM" + struct.pack("<IHHI", 0x76, 0, 0, 0x36)
    body = bytes((seed * 37 + i * 11) & 0xFF for i in range(0x70 - len(header)))
    blob = header + body
    return struct.pack("<I", len(blob)) + blob + b"\x00" * (0x80 - 4 - len(blob))


def main() -> None:
    data = bytearray()
    data += image_entry(1)  # offset 0x0000
    data += image_entry(2)  # offset 0x0080
    data += b"ComctlLib.ListImage\x00"
    data += b"COMCTL32.OCX\r"  # a lone CR
    data += b"{6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0\n"  # a lone LF
    data += b"ComCtl2.UpDown\r\n"
    data += b"\x80\x81\xfc\xe4\xf6\xdf\xff\x00\x00\r\r\n\n\x00"
    out = pathlib.Path(__file__).resolve().parent / "Beispiel" / "frmHaupt.frx"
    out.write_bytes(bytes(data))


if __name__ == "__main__":
    main()
