#!/usr/bin/env python3
"""Writes slidesaver.ico: a small landscape slide (sky, sun, hills) in a frame, at 32x32 and
16x16 pixels, 32 bits per pixel with alpha. Run it again only to change the picture."""
import struct
import sys


def pixel(x, y, size):
    """The colour (r, g, b, a) at pixel (x, y) of a size x size icon, y growing downwards."""
    u, v = (x + 0.5) / size, (y + 0.5) / size
    frame = 1.5 / 16
    if u < frame or v < 0.12 or u > 1 - frame or v > 0.88:
        inside_edge = frame * 0.5 < u < 1 - frame * 0.5 and 0.06 < v < 0.94
        return (40, 40, 48, 255) if inside_edge else (0, 0, 0, 0)
    if (u - 0.68) ** 2 + (v - 0.34) ** 2 < 0.11 ** 2:
        return (255, 210, 60, 255)
    hill = 0.66 + 0.1 * ((u - 0.3) * 2.2) ** 2
    if v > hill:
        return (60, 150, 70, 255)
    shade = int(180 * (v - 0.12) / 0.6)
    return (70 + shade // 3, 130 + shade // 3, 230, 255)


def image_bytes(size):
    """The icon image: a BITMAPINFOHEADER of double height, bottom-up BGRA rows, and the
    AND mask (all transparent bits clear: the alpha channel decides)."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            rows += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    return header + bytes(rows) + bytes(mask_stride * size)


def main(path):
    images = [(32, image_bytes(32)), (16, image_bytes(16))]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "slidesaver.ico")
