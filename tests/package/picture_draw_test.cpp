#include <gtest/gtest.h>

#include "package/bitmap_graphic.h"
#include "support/test_images.h"

namespace ss {
namespace {

// Each pixel's colour names its position, so every sample traces back to its source.
Color position_colour(int x, int y) {
  return rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 77);
}

TEST(StretchNearest, SamplesThePixelUnderEachCentre) {
  const Bitmap24 src = test::make_bitmap(6, 4, position_colour);
  const struct {
    Rect dst_rect;
    std::vector<int> xs, ys;  // the source column and row of each destination column and row
  } cases[] = {
      {{0, 0, 6, 4}, {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3}},
      {{0, 0, 12, 8}, {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5}, {0, 0, 1, 1, 2, 2, 3, 3}},
      {{0, 0, 3, 2}, {1, 3, 5}, {1, 3}},
      {{0, 0, 4, 1}, {0, 2, 3, 5}, {2}},
  };
  for (const auto& c : cases) {
    Bitmap24 dst(c.dst_rect.width(), c.dst_rect.height());
    stretch_nearest(src, dst, c.dst_rect);
    for (int y = 0; y < dst.height(); ++y)
      for (int x = 0; x < dst.width(); ++x)
        ASSERT_EQ(dst.pixel(x, y), position_colour(c.xs[x], c.ys[y]))
            << c.dst_rect.width() << " " << x << "," << y;
  }
}

TEST(StretchNearest, ClipsToTheDestination) {
  const Bitmap24 src = test::make_bitmap(4, 4, position_colour);
  Bitmap24 dst(4, 4);
  stretch_nearest(src, dst, {-2, 3, 2, 7});  // only row 3, columns 0 and 1 are inside
  EXPECT_EQ(dst.pixel(0, 3), position_colour(2, 0));
  EXPECT_EQ(dst.pixel(1, 3), position_colour(3, 0));
  EXPECT_EQ(dst.pixel(2, 3), kBlack);
  EXPECT_EQ(dst.pixel(0, 2), kBlack);
  for (const Rect r : {Rect{5, 5, 9, 9}, Rect{0, 0, 0, 4}, Rect{3, 3, 1, 1}})
    stretch_nearest(src, dst, r);
  EXPECT_EQ(dst.pixel(3, 3), kBlack);
}

}  // namespace
}  // namespace ss
