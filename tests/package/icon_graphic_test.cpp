#include "package/icon_graphic.h"

#include <gtest/gtest.h>

#include "package/png_codec.h"
#include "support/test_images.h"

namespace ss {
namespace {

using test::Bytes;

constexpr Color kBackground = rgb(1, 2, 3);

Color ring_colour(int x, int y) {
  return test::pure_colours()[1 + (x + 2 * y) % 6];
}
bool ring_hole(int x, int y) {
  return x > 1 && y > 1 && x < 14 && y < 14;
}
auto opaque = [](int, int) { return false; };

// Draws the icon 1:1 over the background colour.
Bitmap24 drawn(const IconGraphic& icon) {
  Bitmap24 out =
      test::make_bitmap(icon.width(), icon.height(), [](int, int) { return kBackground; });
  icon.draw(out, out.bounds());
  return out;
}

TEST(IconGraphic, MaskedEntriesOfEveryDepth) {
  for (const int depth : {1, 4, 8, 24, 32}) {
    auto colour = [&](int x, int y) {
      return depth == 1 ? ((x + y) % 2 ? kWhite : kBlack) : ring_colour(x, y);
    };
    const auto icon = decode_icon(
        test::icon_file({{test::icon_bitmap(16, 16, depth, colour, ring_hole), 16, 16, depth}}));
    ASSERT_EQ(icon->width(), 16);
    ASSERT_EQ(icon->height(), 16);
    const Bitmap24 out = drawn(*icon);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        ASSERT_EQ(out.pixel(x, y), ring_hole(x, y) ? kBackground : colour(x, y))
            << depth << " " << x << "," << y;
  }
}

TEST(IconGraphic, AlphaChannelBlendsAndOverridesTheMask) {
  auto white = [](int, int) { return kWhite; };
  auto all_masked = [](int, int) { return true; };
  auto alpha = [](int x, int) -> uint8_t { return x < 2 ? 0 : x < 4 ? 128 : 255; };
  const Bitmap24 out = drawn(*decode_icon(
      test::icon_file({{test::icon_bitmap(8, 8, 32, white, all_masked, alpha), 8, 8, 32}})));
  EXPECT_EQ(out.pixel(0, 3), kBackground);
  EXPECT_EQ(out.pixel(2, 3), rgb(128, 129, 129));  // 255·128/255 + background·127/255
  EXPECT_EQ(out.pixel(5, 3), kWhite);

  // A 32-bit entry whose alpha bytes are all zero predates alpha channels: the mask decides.
  auto left_masked = [](int x, int) { return x == 0; };
  const Bitmap24 old = drawn(*decode_icon(test::icon_file(
      {{test::icon_bitmap(4, 4, 32, white, left_masked, [](int, int) -> uint8_t { return 0; }), 4,
        4, 32}})));
  EXPECT_EQ(old.pixel(0, 1), kBackground);
  EXPECT_EQ(old.pixel(1, 1), kWhite);
}

TEST(IconGraphic, ChoosesTheStandardSizeThenTheMostColours) {
  const std::pair<std::vector<IconDirEntry>, size_t> cases[] = {
      {{{16, 16, 32}, {32, 32, 4}, {48, 48, 32}}, 1},
      {{{32, 32, 4}, {32, 32, 32}, {32, 32, 8}}, 1},
      {{{16, 16, 32}, {48, 48, 8}}, 1},    // as near: the larger
      {{{256, 256, 32}, {16, 16, 4}}, 1},  // nearer beats more colours
  };
  for (const auto& [entries, expected] : cases) EXPECT_EQ(choose_icon_entry(entries), expected);

  auto solid = [](Color c) { return [c](int, int) { return c; }; };
  const auto icon = decode_icon(
      test::icon_file({{test::icon_bitmap(16, 16, 8, solid(kWhite), opaque), 16, 16, 8},
                       {test::icon_bitmap(32, 32, 8, solid(rgb(255, 0, 0)), opaque), 32, 32, 8}}));
  EXPECT_EQ(icon->width(), 32);
  EXPECT_EQ(icon->pixels().pixel(5, 5), rgb(255, 0, 0));
}

TEST(IconGraphic, PngEntriesKeepTheirAlpha) {
  if (!png_supported()) GTEST_SKIP() << "built without libpng";
  const Bytes png = test::png_with_alpha(test::make_bitmap(32, 32, ring_colour),
                                         [](int x, int) -> uint8_t { return x < 16 ? 0 : 255; });
  const Bitmap24 out = drawn(*decode_icon(test::icon_file({{png, 32, 32, 32}})));
  EXPECT_EQ(out.pixel(3, 7), kBackground);
  EXPECT_EQ(out.pixel(20, 7), ring_colour(20, 7));
}

TEST(IconGraphic, RejectsMalformedAndOversizedFiles) {
  const Bytes entry = test::icon_bitmap(8, 8, 4, ring_colour, opaque);
  Bytes far_offset = test::icon_file({{entry, 8, 8, 4}});
  far_offset[18] = 0xFF;
  Bytes run_length = entry;
  run_length[16] = 2;
  Bytes top_down = entry;
  top_down[11] = 0xFF;  // negative stored height
  test::BmpLayout huge{.width = 16385, .height = 2, .bit_count = 1};
  const std::pair<Bytes, const char*> cases[] = {
      {test::icon_file({{entry, 8, 8, 4}}, 2), "Icon image is not valid"},  // a cursor
      {test::icon_file({}), "Icon image is not valid"},
      {Bytes{0, 0, 1, 0, 3, 0, 8, 8}, "Icon image is not valid"},  // directory cut short
      {far_offset, "Icon image is not valid"},
      {test::icon_file({{run_length, 8, 8, 4}}), "Icon image is not valid"},
      {test::icon_file({{top_down, 8, 8, 4}}), "Icon image is not valid"},
      {test::icon_file({{Bytes(40, 7), 8, 8, 4}}), "Icon image is not valid"},
      {test::icon_file({{test::dib_header(huge), 0, 1, 1}}), "Icon image is too large"},
  };
  for (const auto& [file, text] : cases)
    EXPECT_EQ(test::error_text([&] { decode_icon(file); }), text);
}

}  // namespace
}  // namespace ss
