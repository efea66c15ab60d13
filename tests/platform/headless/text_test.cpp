// The built-in font: what it measures is where it draws.
#include <gtest/gtest.h>

#include "platform/headless/headless_text.h"

namespace ss {
namespace {

// The smallest rectangle holding every pixel of `ink` colour.
Rect ink_box(const Bitmap24& b, Color ink) {
  Rect box{b.width(), b.height(), 0, 0};
  for (int32_t y = 0; y < b.height(); ++y) {
    for (int32_t x = 0; x < b.width(); ++x) {
      if (b.pixel(x, y) != ink) continue;
      box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
             std::max(box.bottom, y + 1)};
    }
  }
  return box;
}

TEST(HeadlessText, InkStaysInsideTheMeasuredBoxAndFillsItsGlyphArea) {
  struct Case {
    int32_t height;
    int32_t cell_height;  // the measured cy
  };
  // Negative: character height (7 of the 8 rows of a cell); positive: the cell itself.
  const Case cases[] = {{-7, 8}, {-11, 13}, {-14, 16}, {-35, 40},
                        {8, 8},  {24, 24},  {0, 13},   {1, 1}};
  CallLog log;
  HeadlessTextRenderer text(log);
  const std::string caption = "HgH";  // H spans all seven rows and all five columns
  for (const Case& c : cases) {
    SCOPED_TRACE(c.height);
    const TextFontSpec font{"Arial", c.height, 0x0000FF};
    const TextExtent extent = text.measure(caption, font);
    EXPECT_EQ(extent.cy, c.cell_height);
    EXPECT_EQ(extent.cx, 3 * HeadlessTextRenderer::cell_size(c.height).cx);
    EXPECT_EQ(text.measure("", font).cx, 0);

    Bitmap24 canvas(extent.cx + 20, extent.cy + 20);
    text.draw(canvas, 10, 10, caption, font);
    const Rect ink = ink_box(canvas, 0x0000FF);
    const Rect box{10, 10, 10 + extent.cx, 10 + extent.cy};
    EXPECT_EQ(ink.intersect(box), ink) << "ink outside the measured box";
    EXPECT_EQ(ink.top, box.top) << "glyphs start at the top of the cell";
    // The spacing row and column are the only parts left blank at the bottom and right.
    const TextExtent cell = HeadlessTextRenderer::cell_size(c.height);
    EXPECT_GE(ink.bottom, box.bottom - (cell.cy + 7) / 8);
    EXPECT_GE(ink.right, box.right - (cell.cx + 5) / 6);
  }
}

TEST(HeadlessText, DrawsOnlyTheGlyphsColourAndClipsAtEveryEdge) {
  CallLog log;
  HeadlessTextRenderer text(log);
  const TextFontSpec font{"", -14, static_cast<Color>(0xFF000008u)};  // window-text colour
  Bitmap24 canvas(30, 12);
  for (int32_t y = 0; y < canvas.height(); ++y)
    for (int32_t x = 0; x < canvas.width(); ++x) canvas.set_pixel(x, y, 0x123456);
  text.draw(canvas, -5, -4, "WWWWWWWWWWWWWW", font);
  int ink = 0;
  for (int32_t y = 0; y < canvas.height(); ++y) {
    for (int32_t x = 0; x < canvas.width(); ++x) {
      const Color c = canvas.pixel(x, y);
      EXPECT_TRUE(c == 0x123456 || c == resolve_color(font.color)) << x << "," << y;
      ink += c != 0x123456;
    }
  }
  EXPECT_GT(ink, 0);
  EXPECT_EQ(log.texts(), std::vector<std::string>{"text.draw -5,-4 WWWWWWWWWWWWWW"});
  // Far outside, and enormous: nothing drawn, nothing overflows.
  text.draw(canvas, 1'000'000, 5, "x", font);
  const TextExtent huge = text.measure(std::string(1000, 'x'), {"", -2'000'000'000, 0});
  EXPECT_GT(huge.cx, 0);
  EXPECT_GT(huge.cy, 0);
}

}  // namespace
}  // namespace ss
