#include "package/bmp_decoder.h"

#include <gtest/gtest.h>

#include "support/test_images.h"

namespace ss {
namespace {

using test::BmpLayout;
using test::Bytes;

// Tells rows, columns and colours apart: any flip or channel swap shows.
int pattern(int x, int y, int colours) {
  return (x + 3 * y + (x * y) % 5) % colours;
}

// 13 pixels wide (rows need padding at every depth); height < 0 stores the rows top-down.
BmpLayout layout(int bits, int32_t height, uint32_t compression = 0, uint32_t r = 0xFF0000,
                 uint32_t g = 0xFF00, uint32_t b = 0xFF, uint32_t header_size = 40) {
  BmpLayout l{.width = 13,
              .height = height,
              .bit_count = bits,
              .compression = compression,
              .header_size = header_size,
              .masks = {r, g, b, 0}};
  const auto& colours = test::pure_colours();
  if (bits <= 8) l.palette.assign(colours.begin(), colours.begin() + std::min(7, 1 << bits));
  return l;
}

BmpLayout core(BmpLayout l) {
  l.core_header = true;
  return l;
}

TEST(BmpDecoder, DecodesEveryDepthAndRowOrder) {
  const std::pair<const char*, BmpLayout> cases[] = {
      {"1 bit", layout(1, 7)},
      {"1 bit top-down", layout(1, -7)},
      {"4 bit", layout(4, 7)},
      {"8 bit top-down", layout(8, -7)},
      {"core 1 bit", core(layout(1, 7))},
      {"core 4 bit", core(layout(4, 7))},
      {"core 8 bit", core(layout(8, 7))},
      {"core 24 bit", core(layout(24, 7))},
      {"16 bit 5-5-5", layout(16, 7, 0, 0x7C00, 0x03E0, 0x001F)},
      {"16 bit fields 5-6-5 top-down", layout(16, -7, 3, 0xF800, 0x07E0, 0x001F)},
      {"24 bit", layout(24, 7)},
      {"24 bit top-down", layout(24, -7)},
      {"32 bit", layout(32, 7)},
      {"32 bit fields, red low", layout(32, 7, 3, 0xFF, 0xFF00, 0xFF0000)},
      {"32 bit fields in a V4 header", layout(32, -7, 3, 0xFF000000, 0xFF0000, 0xFF00, 108)},
      {"16 bit fields of 4 bits in a V5 header", layout(16, 7, 3, 0xF, 0xF0, 0xF00, 124)},
  };
  const auto& colours = test::pure_colours();
  for (const auto& [name, l] : cases) {
    const bool indexed = l.bit_count <= 8;
    const int count = indexed ? static_cast<int>(l.palette.size()) : 7;
    const Bytes pixels = test::pack_rows(l, [&](int x, int y) -> uint32_t {
      const int i = pattern(x, y, count);
      return indexed ? static_cast<uint32_t>(i) : test::pack_masked(colours[i], l.masks);
    });
    const Bitmap24 image = decode_bmp_file(test::bmp_file(l, pixels));
    ASSERT_EQ(image.width(), 13) << name;
    ASSERT_EQ(image.height(), 7) << name;
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 13; ++x)
        ASSERT_EQ(image.pixel(x, y), colours[pattern(x, y, count)]) << name << " " << x << "," << y;
  }
}

TEST(BmpDecoder, ShortColourTables) {
  // Two entries declared for 8 bits: indices past them are black.
  BmpLayout declared = layout(8, 1);
  declared.palette = {rgb(10, 20, 30), rgb(40, 50, 60)};
  declared.colors_used = 2;
  // No count declared (16 entries at 4 bits), but the pixels start after three entries.
  BmpLayout cut = layout(4, 1);
  cut.palette = {rgb(10, 20, 30), rgb(40, 50, 60), rgb(7, 8, 9)};
  for (const BmpLayout& l : {declared, cut}) {
    const Bitmap24 image =
        decode_bmp_file(test::bmp_file(l, test::pack_rows(l, [](int x, int) { return x % 4u; })));
    EXPECT_EQ(image.pixel(1, 0), rgb(40, 50, 60));
    EXPECT_EQ(image.pixel(2, 0), l.palette.size() > 2 ? rgb(7, 8, 9) : kBlack);
    EXPECT_EQ(image.pixel(3, 0), kBlack);
  }
}

// Run-length data of a 4 × 3 picture; rows are stored bottom first.
constexpr Color K = kBlack, R = rgb(255, 0, 0), G = rgb(0, 255, 0), B = rgb(0, 0, 255);

TEST(BmpDecoder, RunLengthEscapes) {
  const struct {
    const char* name;
    uint32_t compression;
    Bytes data;
    std::vector<Color> expected;  // top-down
  } cases[] = {
      {"8: runs, literal, delta, end of bitmap",
       1,
       {3, 1, 1, 2, 0, 0,              // bottom row: R R R G, end of line
        0, 3, 2, 3, 1, 0, 1, 3, 0, 0,  // literal G B R (padded), run B, end of line
        0, 2, 1, 0, 2, 1, 0, 1},       // move right 1, R R, end of bitmap
       {K, R, R, K, G, B, R, B, R, R, R, G}},
      {"8: a move up a row",
       1,
       {1, 3, 0, 2, 1, 1, 1, 2, 0, 1},
       {K, K, K, K, K, K, G, K, B, K, K, K}},
      {"8: early end of bitmap", 1, {4, 2, 0, 1, 4, 1}, {K, K, K, K, K, K, K, K, G, G, G, G}},
      {"8: data ends without an escape", 1, {4, 3, 0, 0, 2}, {K, K, K, K, K, K, K, K, B, B, B, B}},
      {"8: runs past the right edge", 1, {9, 1, 0, 0, 0, 1}, {K, K, K, K, K, K, K, K, R, R, R, R}},
      {"4: alternating runs and an odd literal",
       2,
       {4, 0x12, 0, 0,                    // R G R G
        0, 5, 0x32, 0x13, 0x20, 0, 0, 0,  // literal B G R B (G clipped), padded to 16 bits
        3, 0x33, 0, 1},                   // B B B
       {B, B, B, K, B, G, R, B, R, G, R, G}},
  };
  for (const auto& c : cases) {
    BmpLayout l{.width = 4,
                .height = 3,
                .bit_count = c.compression == 1 ? 8 : 4,
                .compression = c.compression,
                .palette = {K, R, G, B},
                .colors_used = 4};
    const Bitmap24 image = decode_bmp_file(test::bmp_file(l, c.data));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x)
        EXPECT_EQ(image.pixel(x, y), c.expected[y * 4 + x]) << c.name << " " << x << "," << y;
  }
}

TEST(BmpDecoder, RejectsMalformedAndOversizedFiles) {
  const BmpLayout good = layout(8, 2);
  const Bytes pixels = test::pack_rows(good, [](int, int) { return 1u; });
  auto changed = [&](auto change) {
    BmpLayout l = good;
    change(l);
    return test::bmp_file(l, pixels);
  };
  Bytes no_bm = test::bmp_file(good, pixels);
  no_bm[0] = 'X';
  const std::pair<Bytes, const char*> cases[] = {
      {no_bm, "Bitmap image is not valid"},
      {test::prefix(test::bmp_file(good, pixels), 14), "Bitmap image is not valid"},
      {changed([](BmpLayout& l) { l.header_size = 20; }), "Bitmap image is not valid"},
      {changed([](BmpLayout& l) { l.width = 0; }), "Bitmap image is not valid"},
      {changed([](BmpLayout& l) { l.width = -2; }), "Bitmap image is not valid"},
      {changed([](BmpLayout& l) { l.height = 0; }), "Bitmap image is not valid"},
      {changed([](BmpLayout& l) { l.bit_count = 2; }), "Bitmap image is not valid"},
      {changed([](BmpLayout& l) { l.compression = 1, l.bit_count = 4; }),
       "Bitmap image is not valid"},
      {changed([](BmpLayout& l) { l.compression = 1, l.height = -2; }),
       "Bitmap image is not valid"},
      {changed([](BmpLayout& l) { l.compression = 3; }), "Bitmap image is not valid"},
      {changed([](BmpLayout& l) { l.compression = 4; }), "Bitmap image is not valid"},
      {test::bmp_file(good, {}), "Bitmap image is not valid"},
      {changed([](BmpLayout& l) { l.width = 16385, l.height = 1; }), "Bitmap image is too large"},
      {changed([](BmpLayout& l) { l.width = 1, l.height = -16385; }), "Bitmap image is too large"},
      {changed([](BmpLayout& l) { l.width = 8192, l.height = 8193; }), "Bitmap image is too large"},
  };
  for (const auto& [file, text] : cases)
    EXPECT_EQ(test::error_text([&] { decode_bmp_file(file); }), text);

  BmpLayout widest = layout(1, 1);
  widest.width = 16384;
  EXPECT_EQ(decode_bmp_file(test::bmp_file(widest, Bytes(2048))).width(), 16384);
}

}  // namespace
}  // namespace ss
