"""Pixel checks on screenshots and read-back bitmaps, decoded by ImageMagick into raw RGB."""

import subprocess

from session import CaseFailure


class Image:
    def __init__(self, convert, path):
        self.path = path
        size = subprocess.run([convert, str(path), "-format", "%w %h", "info:"], capture_output=True,
                              text=True, timeout=60, check=True).stdout.split()
        self.width, self.height = int(size[0]), int(size[1])
        self.rgb = subprocess.run([convert, str(path), "-depth", "8", "rgb:-"], capture_output=True,
                                  timeout=60, check=True).stdout
        if len(self.rgb) != self.width * self.height * 3:
            raise CaseFailure(f"{path}: ImageMagick gave {len(self.rgb)} bytes for {self.width}x{self.height}")

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def pixels(self, rect, step=1):
        left, top, right, bottom = rect
        for y in range(max(top, 0), min(bottom, self.height), step):
            for x in range(max(left, 0), min(right, self.width), step):
                yield x, y, self.pixel(x, y)

    def mean(self, rect):
        total, count = [0, 0, 0], 0
        for _, _, p in self.pixels(rect):
            for c in range(3):
                total[c] += p[c]
            count += 1
        return tuple(round(t / max(count, 1)) for t in total)

    def expect_colour(self, rect, colour, what, tolerance=12, step=1):
        """Every pixel of rect (left, top, right, bottom) is within tolerance of colour; a step
        above 1 samples a large area on a grid."""
        for x, y, p in self.pixels(rect, step):
            if max(abs(a - b) for a, b in zip(p, colour)) > tolerance:
                raise CaseFailure(f"{what}: pixel ({x}, {y}) is {p}, expected {colour} "
                                  f"(area {rect}) in {self.path}")

    def bounding_box(self, rect, predicate):
        """The smallest rectangle holding every pixel of rect that satisfies predicate, or None."""
        xs, ys = [], []
        for x, y, p in self.pixels(rect):
            if predicate(p):
                xs.append(x)
                ys.append(y)
        if not xs:
            return None
        return min(xs), min(ys), max(xs) + 1, max(ys) + 1


def near(colour, tolerance):
    return lambda p: max(abs(a - b) for a, b in zip(p, colour)) <= tolerance
