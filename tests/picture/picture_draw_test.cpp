#include <gtest/gtest.h>

#include "package/bitmap_graphic.h"
#include "test_images.h"

namespace ss {
namespace {

// Each pixel's colour names its position, so every sample can be traced to its source.
Color position_colour(int x, int y) { return rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 77); }
int source_x(Color c) { return color_red(c); }
int source_y(Color c) { return color_green(c); }

TEST(StretchNearest, SamplesThePixelUnderEachCentre) {
  const Bitmap24 src = test::make_bitmap(6, 4, position_colour);
  struct Case {
    Rect dst_rect;
    std::vector<int> xs;  // source column of each destination column of the rectangle
    std::vector<int> ys;
  };
  const Case cases[] = {
      {{0, 0, 6, 4}, {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3}},                  // 1:1
      {{0, 0, 12, 8}, {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5}, {0, 0, 1, 1, 2, 2, 3, 3}},
      {{0, 0, 3, 2}, {1, 3, 5}, {1, 3}},                                 // halving
      {{0, 0, 4, 1}, {0, 2, 3, 5}, {2}},
  };
  for (const Case& c : cases) {
    Bitmap24 dst(c.dst_rect.width(), c.dst_rect.height());
    stretch_nearest(src, dst, c.dst_rect);
    for (int y = 0; y < dst.height(); ++y)
      for (int x = 0; x < dst.width(); ++x) {
        ASSERT_EQ(source_x(dst.pixel(x, y)), c.xs[x]) << c.dst_rect.width();
        ASSERT_EQ(source_y(dst.pixel(x, y)), c.ys[y]) << c.dst_rect.height();
      }
  }
}

TEST(StretchNearest, ClipsToTheDestination) {
  const Bitmap24 src = test::make_bitmap(4, 4, position_colour);
  Bitmap24 dst(4, 4);
  stretch_nearest(src, dst, {-2, 3, 2, 7});  // only rows 3, columns 0..1 are visible
  EXPECT_EQ(dst.pixel(0, 3), position_colour(2, 0));
  EXPECT_EQ(dst.pixel(1, 3), position_colour(3, 0));
  EXPECT_EQ(dst.pixel(2, 3), kBlack);
  EXPECT_EQ(dst.pixel(0, 2), kBlack);

  Bitmap24 untouched(4, 4);
  stretch_nearest(src, untouched, {5, 5, 9, 9});
  stretch_nearest(src, untouched, {0, 0, 0, 4});
  stretch_nearest(src, untouched, {3, 3, 1, 1});
  EXPECT_TRUE(untouched == Bitmap24(4, 4));
}

TEST(StretchNearest, BlendHonoursEachAlpha) {
  const Bitmap24 src = test::make_bitmap(3, 1, [](int, int) { return kWhite; });
  const std::vector<uint8_t> alpha = {0, 51, 255};
  Bitmap24 dst = test::make_bitmap(6, 1, [](int, int) { return rgb(0, 0, 100); });
  stretch_nearest_blend(src, alpha, dst, {0, 0, 6, 1});
  EXPECT_EQ(dst.pixel(1, 0), rgb(0, 0, 100));
  EXPECT_EQ(dst.pixel(2, 0), rgb(51, 51, 131));  // 255·0.2 + 0·0.8, 255·0.2 + 100·0.8
  EXPECT_EQ(dst.pixel(5, 0), kWhite);
}

}  // namespace
}  // namespace ss
