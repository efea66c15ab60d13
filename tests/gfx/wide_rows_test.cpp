// The raster routines on rows wide enough for their word, run and repeat moves, against the
// per-pixel mappings: scalings from strong shrinks to strong enlargements, sources ending at
// the last byte of an unpadded bitmap (where moves of more than a pixel must not read past it),
// clips of many short spans, and rotations whose rows are copied in runs.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "gfx/raster.h"
#include "support/pixel_reference.h"
#include "support/region_print.h"
#include "effects/pixel_routines.h"

namespace ss {
namespace {

using testing::Noise;

// Every other 5-pixel column, as the bar styles draw through.
Region column_bars(int32_t width, int32_t height) {
  RegionBuilder bars;
  for (int32_t x = 0; x < width; x += 10) bars.add(Rect{x, 0, x + 5, height});
  return bars.build();
}

struct StretchCase {
  const char* what;
  int32_t src_w, src_h;
  Rect src_rect;
  int32_t dst_w, dst_h;
  int32_t dx, dy, dw, dh;
};

// Source widths that are multiples of 4 have no row padding, so their last pixel is the
// bitmap's last byte.
constexpr StretchCase kStretchCases[] = {
    {"mild shrink (squeeze at 90 %)", 400, 9, {0, 0, 400, 9}, 400, 9, 20, 0, 361, 9},
    {"shrink to a half", 400, 9, {0, 0, 400, 9}, 400, 9, 0, 0, 200, 9},
    {"mild enlargement (zoom at 90 %)", 400, 9, {0, 0, 328, 9}, 400, 9, 0, 0, 401, 9},
    {"enlargement by 2.5", 400, 9, {40, 0, 200, 9}, 400, 9, 0, 0, 400, 9},
    {"enlargement by 19 (smear)", 400, 9, {380, 0, 400, 9}, 400, 9, 20, 0, 380, 9},
    {"enlargement past the destination", 400, 9, {0, 0, 100, 9}, 400, 9, -700, 0, 1900, 9},
    {"mirrored enlargement (roll band)", 400, 9, {390, 0, 400, 9}, 400, 9, 300, 0, -250, 9},
    {"rows repeated, columns straight", 400, 9, {0, 3, 400, 9}, 400, 40, 0, 0, 400, 40},
    {"rows repeated, columns enlarged", 400, 9, {0, 0, 300, 9}, 400, 40, 0, 0, 400, 40},
    {"both axes shrunk into a corner", 400, 60, {0, 0, 400, 60}, 400, 60, 0, 0, 173, 29},
    {"last rows of an unpadded source", 400, 9, {250, 5, 400, 9}, 400, 20, 0, 0, 401, 20},
    {"padded source, odd width", 333, 7, {0, 0, 333, 7}, 350, 14, 3, 0, 347, 14},
};

TEST(StretchCopy, WideRowsMatchThePerPixelMapping) {
  uint32_t seed = 1;
  for (const StretchCase& c : kStretchCases) {
    SCOPED_TRACE(c.what);
    const Bitmap24 src = Noise(c.src_w, c.src_h, seed++);
    const Bitmap24 before = Noise(c.dst_w, c.dst_h, seed++);
    const Region bars = column_bars(c.dst_w, c.dst_h);
    for (const Region* clip : {static_cast<const Region*>(nullptr), &bars}) {
      Bitmap24 dst = before;
      stretch_copy(dst, c.dx, c.dy, c.dw, c.dh, src, c.src_rect, clip);
      ASSERT_EQ(dst,
                testing::StretchReference(before, c.dx, c.dy, c.dw, c.dh, src, c.src_rect, clip))
          << (clip ? "clipped" : "whole");
    }
  }
}

// Scales spread over every kind of row plan, with sources often reaching the bitmap's end.
TEST(StretchCopy, RandomWideScalesMatchThePerPixelMapping) {
  std::mt19937 rng(2024);
  auto pick = [&](int32_t lo, int32_t hi) {
    return lo + static_cast<int32_t>(rng() % static_cast<uint32_t>(hi - lo + 1));
  };
  for (int round = 0; round < 150; ++round) {
    const int32_t src_w = 4 * pick(10, 100) + (round % 3 == 0 ? pick(1, 3) : 0);
    const Bitmap24 src = Noise(src_w, pick(1, 6), rng());
    const Bitmap24 before = Noise(pick(50, 420), pick(1, 8), rng());
    const int32_t left = pick(0, src_w - 1);
    const Rect sr{left, pick(-1, 2), pick(left + 1, src_w + 2), pick(3, 8)};
    // Widths from a fifth to forty times the source's.
    const double scale = std::exp(std::uniform_real_distribution<double>(-1.6, 3.7)(rng));
    const auto dw = static_cast<int32_t>(sr.width() * scale) * (round % 7 == 0 ? -1 : 1);
    const int32_t dx = dw < 0 ? pick(0, before.width() + 50) : pick(-50, 40);
    const int32_t dy = pick(-2, 2);
    const int32_t dh = pick(1, 12);
    const Region bars = column_bars(before.width(), before.height());
    const Region* clip = round % 4 == 0 ? &bars : nullptr;
    Bitmap24 dst = before;
    stretch_copy(dst, dx, dy, dw, dh, src, sr, clip);
    ASSERT_EQ(dst, testing::StretchReference(before, dx, dy, dw, dh, src, sr, clip))
        << "round " << round << ": " << src_w << " wide, " << sr.width() << " -> " << dw;
  }
}

// Spans of every length from 1 to 70 pixels (3 to 210 bytes), in bands of different layouts.
TEST(DrawAndFill, SpansOfEveryShortLengthMatchThePerPixelResult) {
  RegionBuilder pieces;
  int32_t x = 1;
  for (int32_t n = 1; n <= 70; ++n) {
    pieces.add(Rect{x, 0, x + n, 3});
    pieces.add(Rect{x + 1, 3, x + n + 1, 5});
    x += n + 1 + n % 3;
  }
  pieces.add(Rect{0, 5, x, 7});
  const Region clip = pieces.build();
  const Bitmap24 src = Noise(x + 4, 9, 41);
  for (const int32_t at : {0, -2, 3}) {
    SCOPED_TRACE(at);
    Bitmap24 dst = Noise(x + 2, 8, 42);
    Bitmap24 expected = dst;
    draw(dst, at, 0, src, &clip);
    fill(dst, Rect{2, 4, x - 1, 8}, rgb(9, 8, 7), &clip);
    for (int32_t y = 0; y < expected.height(); ++y) {
      for (int32_t c = 0; c < expected.width(); ++c) {
        if (!clip.contains(c, y)) continue;
        if (c - at >= 0 && c - at < src.width()) expected.set_pixel(c, y, src.pixel(c - at, y));
        if (c >= 2 && c < x - 1 && y >= 4) expected.set_pixel(c, y, rgb(9, 8, 7));
      }
    }
    ASSERT_EQ(dst, expected);
  }
}

// Small turns copy rows as runs of consecutive source pixels and test rounding only where a run
// ends; angles whose sine or cosine is a short binary fraction put many values on a half.
TEST(RotateBitmap, RunsOfSmallTurnsMatchThePlainFormula) {
  const long double pi = std::numbers::pi_v<long double>;
  const long double angles[] = {0.0L,
                                1e-9L,
                                0.001L,
                                -0.001L,
                                0.05L,
                                10 * pi / 200,  // the rotations 10 % before the end
                                std::asin(0.125L),
                                std::asin(0.25L),
                                std::acos(15.0L / 16),
                                0.3L,
                                pi / 4,
                                pi - 0.1L,
                                pi,
                                0.01L - pi / 2};
  struct Size {
    int32_t w, h;
  };
  uint32_t seed = 7;
  for (const Size size : {Size{256, 96}, Size{203, 61}}) {
    const Bitmap24 src = Noise(size.w, size.h, seed++);
    const Bitmap24 old = Noise(size.w, size.h, seed++);
    const int32_t centres[][2] = {
        {-1, -1}, {-1, size.h}, {size.w, -1}, {size.w, size.h}, {size.w / 2, size.h / 3}};
    for (const long double theta : angles) {
      for (const auto& centre : centres) {
        Bitmap24 fast = old;
        Bitmap24 slow = old;
        RotateBitmap(fast, src, centre[0], centre[1], theta);
        testing::RotateReference(slow, src, centre[0], centre[1], theta);
        ASSERT_EQ(fast, slow) << size.w << "x" << size.h << " theta " << static_cast<double>(theta)
                              << " about " << centre[0] << "," << centre[1];
      }
    }
  }
}

}  // namespace
}  // namespace ss
