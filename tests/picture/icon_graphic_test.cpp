#include <gtest/gtest.h>

#include "base/error.h"
#include "package/icon_graphic.h"
#include "package/png_codec.h"
#include "test_images.h"

namespace ss {
namespace {

using test::Bytes;

constexpr Color kBackground = rgb(1, 2, 3);

Bitmap24 filled(int w, int h, Color c) { return test::make_bitmap(w, h, [c](int, int) { return c; }); }

// A ring: opaque pixels on the border, transparent inside; colours vary with the position.
Color ring_colour(int x, int y) { return test::pure_colours()[1 + (x + 2 * y) % 6]; }
bool ring_hole(int x, int y, int size) { return x > 1 && y > 1 && x < size - 2 && y < size - 2; }

TEST(IconGraphic, MaskedEntriesOfEveryDepth) {
  for (const int depth : {1, 4, 8, 24, 32}) {
    SCOPED_TRACE(depth);
    const int size = 16;
    auto colour = [&](int x, int y) {
      if (depth == 1) return (x + y) % 2 ? kWhite : kBlack;
      return ring_colour(x, y);
    };
    auto hole = [&](int x, int y) { return ring_hole(x, y, size); };
    const Bytes file = test::icon_file({{test::icon_bitmap(size, size, depth, colour, hole), size, size, depth}});
    const auto icon = decode_icon(file);
    ASSERT_EQ(icon->width(), size);
    ASSERT_EQ(icon->height(), size);
    Bitmap24 out = filled(size, size, kBackground);
    icon->draw(out, out.bounds());
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        ASSERT_EQ(out.pixel(x, y), hole(x, y) ? kBackground : colour(x, y)) << x << "," << y;
  }
}

TEST(IconGraphic, AlphaChannelBlends) {
  const int size = 8;
  auto alpha = [](int x, int) -> uint8_t { return x < 2 ? 0 : x < 4 ? 128 : 255; };
  auto white = [](int, int) { return kWhite; };
  // The mask marks everything transparent; with real alpha present it is ignored.
  auto mask_all = [](int, int) { return true; };
  const auto icon = decode_icon(test::icon_file(
      {{test::icon_bitmap(size, size, 32, white, mask_all, alpha), size, size, 32}}));
  Bitmap24 out = filled(size, size, kBlack);
  icon->draw(out, out.bounds());
  EXPECT_EQ(out.pixel(0, 3), kBlack);
  EXPECT_EQ(out.pixel(2, 3), rgb(128, 128, 128));
  EXPECT_EQ(out.pixel(5, 3), kWhite);
}

TEST(IconGraphic, ThirtyTwoBitWithoutAlphaFallsBackOnTheMask) {
  const int size = 4;
  auto hole = [](int x, int) { return x == 0; };
  const auto icon = decode_icon(test::icon_file(
      {{test::icon_bitmap(size, size, 32, ring_colour, hole, [](int, int) -> uint8_t { return 0; }),
        size, size, 32}}));
  Bitmap24 out = filled(size, size, kBackground);
  icon->draw(out, out.bounds());
  EXPECT_EQ(out.pixel(0, 1), kBackground);
  EXPECT_EQ(out.pixel(1, 1), ring_colour(1, 1));
}

TEST(IconGraphic, ChoosesTheStandardSizeThenTheMostColours) {
  struct Case {
    std::vector<IconDirEntry> entries;
    size_t expected;
  };
  const Case cases[] = {
      {{{16, 16, 32}, {32, 32, 4}, {48, 48, 32}}, 1},
      {{{32, 32, 4}, {32, 32, 32}, {32, 32, 8}}, 1},
      {{{16, 16, 32}, {48, 48, 8}}, 1},    // same distance: the larger
      {{{256, 256, 32}, {16, 16, 4}}, 1},  // nearer wins over more colours
      {{{24, 24, 8}}, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(choose_icon_entry(c.entries), c.expected);

  auto solid = [](Color c) { return [c](int, int) { return c; }; };
  auto none = [](int, int) { return false; };
  const Bytes file = test::icon_file({{test::icon_bitmap(16, 16, 8, solid(kWhite), none), 16, 16, 8},
                                      {test::icon_bitmap(32, 32, 8, solid(rgb(255, 0, 0)), none), 32, 32, 8},
                                      {test::icon_bitmap(48, 48, 8, solid(kBlack), none), 48, 48, 8}});
  const auto icon = decode_icon(file);
  EXPECT_EQ(icon->width(), 32);
  EXPECT_EQ(icon->pixels().pixel(5, 5), rgb(255, 0, 0));
}

TEST(IconGraphic, PngEntriesKeepTheirAlpha) {
  if (!png_supported()) GTEST_SKIP() << "built without libpng";
  const Bitmap24 colours = test::make_bitmap(32, 32, ring_colour);
  const Bytes png = test::png_with_alpha(colours, [](int x, int) -> uint8_t { return x < 16 ? 0 : 255; });
  const auto icon = decode_icon(test::icon_file({{png, 32, 32, 32}}));
  ASSERT_EQ(icon->width(), 32);
  Bitmap24 out = filled(32, 32, kBackground);
  icon->draw(out, out.bounds());
  EXPECT_EQ(out.pixel(3, 7), kBackground);
  EXPECT_EQ(out.pixel(20, 7), ring_colour(20, 7));
}

TEST(IconGraphic, RejectsMalformedFiles) {
  auto none = [](int, int) { return false; };
  const Bytes entry = test::icon_bitmap(8, 8, 4, ring_colour, none);
  Bytes bad_offset = test::icon_file({{entry, 8, 8, 4}});
  bad_offset[18] = 0xFF;  // image offset far past the end
  Bytes rle_entry = entry;
  rle_entry[16] = 2;
  Bytes top_down = entry;
  top_down[11] = 0xFF;  // negative stored height
  const std::pair<const char*, Bytes> cases[] = {
      {"type 2 (a cursor)", test::icon_file({{entry, 8, 8, 4}}, 2)},
      {"no entries", test::icon_file({})},
      {"directory cut short", Bytes{0, 0, 1, 0, 3, 0, 8, 8}},
      {"too short for a header", Bytes{0, 0, 1}},
      {"image outside the file", bad_offset},
      {"run-length image", test::icon_file({{rle_entry, 8, 8, 4}})},
      {"top-down image", test::icon_file({{top_down, 8, 8, 4}})},
      {"garbage image", test::icon_file({{Bytes(40, 7), 8, 8, 4}})},
  };
  for (const auto& [name, file] : cases)
    EXPECT_EQ(test::error_text([&] { decode_icon(file); }), "Icon image is not valid") << name;

  test::BmpLayout huge;
  huge.width = 16385;
  huge.height = 2;
  huge.bit_count = 1;
  EXPECT_EQ(test::error_text([&] { decode_icon(test::icon_file({{test::dib_header(huge), 0, 1, 1}})); }),
            "Icon image is too large");
}

}  // namespace
}  // namespace ss
