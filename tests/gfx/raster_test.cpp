#include "gfx/raster.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/pixel_reference.h"
#include "support/region_print.h"
#include "effects/pixel_routines.h"

namespace ss {
namespace {

Bitmap24 noise(int32_t w, int32_t h, uint32_t seed) {
  return testing::Noise(w, h, seed);
}

Bitmap24 reference_stretch(const Bitmap24& before, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                           const Bitmap24& src, const Rect& sr, const Region* clip) {
  return testing::StretchReference(before, dx, dy, dw, dh, src, sr, clip);
}

Color color_at(const Bitmap24& b, int32_t x, int32_t y) {
  return b.pixel(x, y);
}

TEST(StretchCopy, SmallCasesByHand) {
  const Bitmap24 src = noise(4, 3, 1);
  {  // identity
    Bitmap24 dst(4, 3);
    stretch_copy(dst, src.bounds(), src, src.bounds());
    EXPECT_EQ(dst, src);
  }
  {  // twice as large: each source pixel becomes a 2 × 2 block
    Bitmap24 dst(8, 6);
    stretch_copy(dst, dst.bounds(), src, src.bounds());
    for (int32_t y = 0; y < 6; ++y)
      for (int32_t x = 0; x < 8; ++x)
        ASSERT_EQ(color_at(dst, x, y), color_at(src, x / 2, y / 2)) << x << "," << y;
  }
  {  // a negative extent covers [origin + extent, origin) mirrored
    Bitmap24 dst(6, 3);
    stretch_copy(dst, 5, 0, -4, 3, src, src.bounds());
    for (int32_t y = 0; y < 3; ++y) {
      EXPECT_EQ(color_at(dst, 0, y), kBlack);
      EXPECT_EQ(color_at(dst, 5, y), kBlack);
      for (int32_t x = 1; x < 5; ++x) EXPECT_EQ(color_at(dst, x, y), color_at(src, 4 - x, y));
    }
  }
}

// Covers shrinking, zero extents, sources reaching past the bitmap and region clips.
TEST(StretchCopy, RandomCasesMatchThePerPixelMapping) {
  std::mt19937 rng(99);
  auto pick = [&](int32_t lo, int32_t hi) {
    return lo + static_cast<int32_t>(rng() % static_cast<uint32_t>(hi - lo + 1));
  };
  for (int round = 0; round < 400; ++round) {
    const Bitmap24 src = noise(pick(1, 13), pick(1, 9), rng());
    const Bitmap24 before = noise(pick(1, 17), pick(1, 11), rng());
    // Source rectangles may reach past the bitmap; those samples leave the destination alone.
    const Rect sr{pick(-3, 8), pick(-3, 6), pick(-2, 16), pick(-2, 12)};
    const int32_t dx = pick(-6, 20), dy = pick(-6, 14), dw = pick(-25, 25), dh = pick(-18, 18);
    Region clip =
        Region::from_round_rect({pick(-4, 8), pick(-4, 6), pick(4, 20), pick(3, 14)}, pick(0, 12),
                                pick(0, 12))
            .xored(Region::from_rect({pick(-2, 10), pick(-2, 8), pick(0, 18), pick(0, 12)}));
    const bool clipped = rng() % 2;
    Bitmap24 dst = before;
    stretch_copy(dst, dx, dy, dw, dh, src, sr, clipped ? &clip : nullptr);
    ASSERT_EQ(dst, reference_stretch(before, dx, dy, dw, dh, src, sr, clipped ? &clip : nullptr))
        << "round " << round;
  }
}

TEST(Raster, FillAndDrawClipToTheBitmapAndTheRegion) {
  const Bitmap24 src = noise(7, 5, 3);
  const Region clip = Region::from_polygon(std::vector<Point>{{-3, -2}, {12, 1}, {2, 9}});
  for (const bool clipped : {false, true}) {
    const Region* c = clipped ? &clip : nullptr;
    for (const Point at : {Point{0, 0}, Point{-3, -2}, Point{6, 4}, Point{20, 0}}) {
      Bitmap24 dst = noise(9, 7, 4);
      Bitmap24 expected = dst;
      draw(dst, at.x, at.y, src, c);
      for (int32_t y = 0; y < 7; ++y) {
        for (int32_t x = 0; x < 9; ++x) {
          const int32_t u = x - at.x, v = y - at.y;
          if (u < 0 || u >= 7 || v < 0 || v >= 5 || (c && !c->contains(x, y))) continue;
          expected.set_pixel(x, y, src.pixel(u, v));
        }
      }
      ASSERT_EQ(dst, expected) << at.x << "," << at.y << " clipped " << clipped;

      const Rect r{at.x - 1, at.y + 1, at.x + 5, at.y + 30};
      fill(dst, r, rgb(1, 2, 3), c);
      for (int32_t y = 0; y < 7; ++y) {
        for (int32_t x = 0; x < 9; ++x) {
          if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) continue;
          if (!c || c->contains(x, y)) expected.set_pixel(x, y, rgb(1, 2, 3));
        }
      }
      ASSERT_EQ(dst, expected) << "fill " << at.x << "," << at.y << " clipped " << clipped;
    }
  }
}

// The roll band: destination [l, r) mirrored spans one pixel more on each side, [l − 1, r].
TEST(MirrorStretchDraw, BandSpansOneMorePixelEachSideAndIsMirrored) {
  const Bitmap24 src = noise(20, 4, 5);
  Bitmap24 dst(20, 4);
  MirrorStretchDraw(dst, Rect{6, 0, 10, 4}, src, Rect{10, 0, 16, 4}, true, false);
  for (int32_t y = 0; y < 4; ++y) {
    EXPECT_EQ(color_at(dst, 4, y), kBlack);
    EXPECT_EQ(color_at(dst, 11, y), kBlack);
    for (int32_t x = 5; x <= 10; ++x) EXPECT_EQ(color_at(dst, x, y), color_at(src, 20 - x, y));
  }
  // Both axes, with a source rectangle reaching past the bitmap: it is cut to the bitmap first.
  Bitmap24 both(6, 6);
  const Bitmap24 tile = noise(4, 4, 6);
  MirrorStretchDraw(both, Rect{1, 1, 3, 3}, tile, Rect{0, 0, 4, 9}, true, true);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(color_at(both, x, y), color_at(tile, 3 - x, 3 - y));
  EXPECT_EQ(color_at(both, 4, 4), kBlack);
}

}  // namespace
}  // namespace ss
