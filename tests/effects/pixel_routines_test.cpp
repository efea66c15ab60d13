#include "effects/pixel_routines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "support/pixel_reference.h"

namespace ss {
namespace {

Bitmap24 noise(int32_t w, int32_t h, uint32_t seed) {
  return testing::Noise(w, h, seed);
}

// Every pair of byte values at every percentage, against the formula; the 256-pixel rows run
// through the wide path and the odd width through the byte-by-byte tail.
TEST(BlendBitmaps, EveryByteAndPercentageMatchesTheFormula) {
  for (const int32_t width : {256, 87}) {
    Bitmap24 s(width, 256);
    Bitmap24 base(width, 256);
    for (int32_t y = 0; y < 256; ++y) {
      for (int32_t i = 0; i < width * 3; ++i) {
        base.row(y)[i] = static_cast<uint8_t>(i / 3 + y % 3 * 85);
        s.row(y)[i] = static_cast<uint8_t>(y);
      }
    }
    for (int32_t a = 0; a <= 100; ++a) {
      Bitmap24 d = base;
      Bitmap24 expected = base;
      BlendBitmaps(d, s, a);
      for (int32_t y = 0; y < 256; ++y) {
        uint8_t* e = expected.row(y);
        for (int32_t i = 0; i < width * 3; ++i)
          e[i] = static_cast<uint8_t>(e[i] * (100 - a) / 100 + y * a / 100);
      }
      ASSERT_EQ(d, expected) << "a=" << a << " width " << width;
      if (a == 0) {
        EXPECT_EQ(d, base);
      } else if (a == 100) {
        EXPECT_EQ(d, s);
      } else if (a == 50 && width == 256) {
        EXPECT_EQ(d.row(255)[255 * 3], 254);  // 255 with 255: each half loses 1/2
      }
    }
  }
}

void rotate_reference(Bitmap24& dst, const Bitmap24& src, int32_t cx, int32_t cy,
                      long double theta) {
  testing::RotateReference(dst, src, cx, cy, theta);
}

TEST(RotateBitmap, NoTurnCopiesAndAQuarterTurnAboutTheOuterCornerCopiesNothing) {
  const Bitmap24 src = noise(31, 17, 3);
  const Bitmap24 old = noise(31, 17, 4);
  Bitmap24 d = old;
  RotateBitmap(d, src, -1, -1, 0.0L);
  EXPECT_EQ(d, src);
  d = old;
  RotateBitmap(d, src, -1, -1, std::numbers::pi_v<long double> / 2);
  EXPECT_EQ(d, old);
}

TEST(RotateBitmap, MatchesThePlainFormulaOnRandomCases) {
  std::mt19937 rng(11);
  const long double pi = std::numbers::pi_v<long double>;
  for (int round = 0; round < 300; ++round) {
    const int32_t w = 1 + static_cast<int32_t>(rng() % 60);
    const int32_t h = 1 + static_cast<int32_t>(rng() % 45);
    const Bitmap24 src = noise(w, h, rng());
    const Bitmap24 old = noise(w, h, rng());
    // The styles' centres and angles, plus arbitrary ones.
    const int32_t corners[][2] = {{-1, -1}, {-1, h}, {w, -1}, {w, h}};
    const auto* corner = corners[rng() % 4];
    // Angles whose sine or cosine is (nearly) one half put odd offsets next to a rounding tie.
    const long double near_ties[] = {pi / 3, pi / 6, 2 * pi / 3, -pi / 3, pi, 5 * pi / 6};
    const int kind = static_cast<int>(rng() % 3);
    const int32_t cx = kind == 0 ? corner[0] : static_cast<int32_t>(rng() % 80) - 10;
    const int32_t cy = kind == 0 ? corner[1] : static_cast<int32_t>(rng() % 60) - 10;
    const long double theta = kind == 0 ? (100 - static_cast<int>(rng() % 101)) * pi / 200
                              : kind == 1
                                  ? near_ties[rng() % 6]
                                  : (static_cast<long double>(rng()) / 4294967296.0L - 0.5L) * 8;
    Bitmap24 fast = old;
    Bitmap24 slow = old;
    RotateBitmap(fast, src, cx, cy, theta);
    rotate_reference(slow, src, cx, cy, theta);
    ASSERT_EQ(fast, slow) << "round " << round << " " << w << "x" << h << " about " << cx << ","
                          << cy;
  }
}

}  // namespace
}  // namespace ss
