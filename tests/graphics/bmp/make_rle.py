#!/usr/bin/python3
"""Writes the RLE bitmaps that ImageMagick does not write: RLE4, and RLE8 with delta codes and
odd absolute runs; together they use every code of the format. The expected pictures beside
them are ImageMagick's reading, saved uncompressed:
    convert-im6.q16 NAME.bmp -compress none BMP3:NAME-expected.bmp
rle8.bmp is ImageMagick's own (convert ... -colors 16 -type Palette -compress RLE BMP3:rle8.bmp)."""
import struct


def bmp(width, height, bits, compression, palette, stream):
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(pal)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(stream),
                       2835, 2835, len(palette), 0)
    return b"BM" + struct.pack("<IHHI", offset + len(stream), 0, 0, offset) + info + pal + stream


palette = [(i * 17, 255 - i * 17, (i * 53) % 256) for i in range(16)]
# Rows bottom-up. RLE4: a run alternates the two nibbles of its byte; an absolute run of 5
# pixels takes 3 bytes and one pad byte.
rle4 = bytes([
    5, 0x12, 0, 5, 0x34, 0x56, 0x70, 0, 2, 0x3C, 0, 0,  # row 0: run, absolute(5)+pad, run
    0, 2, 3, 1,                                          # delta right 3, up 1: row 2 at x=3
    4, 0xAB, 0, 0,                                       # 4 pixels, end of line
    13, 0xF0, 0, 0,                                      # row 3 full
    0, 3, 0xDE, 0xF0, 6, 0x99, 0, 0,                     # absolute(3) = 2 bytes, no pad
    0, 2, 0, 1, 20, 0x77, 0, 1,                          # row 5 skipped; past the top; end
])
rle8 = bytes([
    3, 7, 0, 5, 1, 2, 3, 4, 5, 0, 2, 9, 0, 0,            # row 0: run, absolute(5)+pad, run
    0, 2, 4, 0, 2, 15, 0, 0,                             # row 1: delta right 4, run, end of line
    0, 4, 10, 11, 12, 13, 6, 3, 0, 0,                    # row 2: absolute(4), no pad, run
    0, 2, 0, 2, 9, 14, 0, 1,                             # rows 3, 4 skipped; row 5 cut short
])
for name, data in (("rle4", bmp(13, 6, 4, 2, palette, rle4)),
                   ("rle8-delta", bmp(10, 6, 8, 1, palette, rle8))):
    with open(name + ".bmp", "wb") as f:
        f.write(data)
