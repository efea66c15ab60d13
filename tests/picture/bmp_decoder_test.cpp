#include <gtest/gtest.h>

#include "base/error.h"
#include "package/bmp_decoder.h"
#include "test_images.h"

namespace ss {
namespace {

using test::BmpLayout;
using test::Bytes;

// A pattern that tells rows, columns and colours apart: any flip or channel swap shows.
int pattern(int x, int y, int colours) { return (x + 3 * y + (x * y) % 5) % colours; }

struct DepthCase {
  const char* name;
  BmpLayout layout;
};

BmpLayout indexed(int bit_count, int32_t height, bool core = false) {
  BmpLayout l;
  l.width = 13;
  l.height = height;
  l.bit_count = bit_count;
  l.core_header = core;
  const auto& colours = test::pure_colours();
  const size_t count = std::min<size_t>(colours.size(), size_t{1} << bit_count);
  l.palette.assign(colours.begin(), colours.begin() + static_cast<long>(count));
  return l;
}

BmpLayout direct(int bit_count, int32_t height, uint32_t compression, uint32_t r, uint32_t g,
                 uint32_t b, uint32_t header_size = 40) {
  BmpLayout l;
  l.width = 13;
  l.height = height;
  l.bit_count = bit_count;
  l.compression = compression;
  l.header_size = header_size;
  l.masks[0] = r, l.masks[1] = g, l.masks[2] = b;
  return l;
}

BmpLayout core(BmpLayout l) {
  l.core_header = true;
  return l;
}

TEST(BmpDecoder, DecodesEveryDepthAndRowOrder) {
  const DepthCase cases[] = {
      {"1 bit bottom-up", indexed(1, 7)},
      {"1 bit top-down", indexed(1, -7)},
      {"4 bit", indexed(4, 7)},
      {"4 bit top-down", indexed(4, -7)},
      {"8 bit", indexed(8, 7)},
      {"8 bit top-down", indexed(8, -7)},
      {"core 1 bit", indexed(1, 7, true)},
      {"core 4 bit", indexed(4, 7, true)},
      {"core 8 bit", indexed(8, 7, true)},
      {"core 24 bit", core(direct(24, 7, 0, 0xFF0000, 0xFF00, 0xFF))},
      {"16 bit 5-5-5", direct(16, 7, 0, 0x7C00, 0x03E0, 0x001F)},
      {"16 bit fields 5-6-5", direct(16, -7, 3, 0xF800, 0x07E0, 0x001F)},
      {"24 bit", direct(24, 7, 0, 0xFF0000, 0xFF00, 0xFF)},
      {"24 bit top-down", direct(24, -7, 0, 0xFF0000, 0xFF00, 0xFF)},
      {"32 bit", direct(32, 7, 0, 0xFF0000, 0xFF00, 0xFF)},
      {"32 bit fields, red low", direct(32, 7, 3, 0x000000FF, 0x0000FF00, 0x00FF0000)},
      {"32 bit fields in a V4 header", direct(32, -7, 3, 0xFF000000, 0x00FF0000, 0x0000FF00, 108)},
      {"16 bit fields in a V5 header", direct(16, 7, 3, 0x000F, 0x00F0, 0x0F00, 124)},
  };
  const auto& colours = test::pure_colours();
  for (const DepthCase& c : cases) {
    SCOPED_TRACE(c.name);
    const BmpLayout& layout = c.layout;
    const bool is_indexed = layout.bit_count <= 8;
    const int count = is_indexed ? static_cast<int>(layout.palette.size())
                                 : static_cast<int>(colours.size());
    const Bytes pixels = test::pack_rows(layout, [&](int x, int y) -> uint32_t {
      const int i = pattern(x, y, count);
      return is_indexed ? static_cast<uint32_t>(i) : test::pack_masked(colours[i], layout.masks);
    });
    const Bitmap24 image = decode_bmp_file(test::bmp_file(layout, pixels));
    ASSERT_EQ(image.width(), 13);
    ASSERT_EQ(image.height(), 7);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 13; ++x)
        ASSERT_EQ(image.pixel(x, y), colours[pattern(x, y, count)]) << x << "," << y;
  }
}

TEST(BmpDecoder, ScalesNarrowBitFieldsToFullRange) {
  // 5-6-5: green 32 of 63 is 130 of 255; red 31 of 31 is 255; blue 1 of 31 is 8.
  BmpLayout layout = direct(16, 1, 3, 0xF800, 0x07E0, 0x001F);
  layout.width = 1;
  const Bytes pixels = test::pack_rows(layout, [](int, int) { return 0xF800u | 32u << 5 | 1u; });
  EXPECT_EQ(decode_bmp_file(test::bmp_file(layout, pixels)).pixel(0, 0), rgb(255, 130, 8));
}

TEST(BmpDecoder, ShortColourTablesShowBlackPastTheirEnd) {
  BmpLayout layout = indexed(8, 1);
  layout.width = 4;
  layout.palette = {rgb(10, 20, 30), rgb(40, 50, 60)};
  layout.colors_used = 2;
  const Bytes pixels = test::pack_rows(layout, [](int x, int) { return static_cast<uint32_t>(x); });
  const Bitmap24 image = decode_bmp_file(test::bmp_file(layout, pixels));
  EXPECT_EQ(image.pixel(0, 0), rgb(10, 20, 30));
  EXPECT_EQ(image.pixel(1, 0), rgb(40, 50, 60));
  EXPECT_EQ(image.pixel(2, 0), kBlack);
  EXPECT_EQ(image.pixel(3, 0), kBlack);
}

TEST(BmpDecoder, PixelOffsetCanCutTheColourTableShort) {
  // Declares no colour count (so 16 entries) but the pixels start after three of them.
  BmpLayout layout = indexed(4, 1);
  layout.width = 4;
  layout.palette = {rgb(1, 2, 3), rgb(4, 5, 6), rgb(7, 8, 9)};
  const Bytes pixels = test::pack_rows(layout, [](int x, int) { return static_cast<uint32_t>(x); });
  const Bitmap24 image = decode_bmp_file(test::bmp_file(layout, pixels));
  EXPECT_EQ(image.pixel(0, 0), rgb(1, 2, 3));
  EXPECT_EQ(image.pixel(2, 0), rgb(7, 8, 9));
  EXPECT_EQ(image.pixel(3, 0), kBlack);
}

// Run-length data for a 4 × 3 picture over the colours below. Rows are stored bottom first.
const std::vector<Color> kRlePalette = {kBlack, rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255)};
constexpr Color K = kBlack, R = rgb(255, 0, 0), G = rgb(0, 255, 0), B = rgb(0, 0, 255);

struct RleCase {
  const char* name;
  uint32_t compression;
  Bytes data;
  std::vector<Color> expected;  // top-down, 4 × 3
};

Bitmap24 decode_rle(uint32_t compression, const Bytes& data) {
  BmpLayout layout;
  layout.width = 4;
  layout.height = 3;
  layout.bit_count = compression == 1 ? 8 : 4;
  layout.compression = compression;
  layout.palette = kRlePalette;
  layout.colors_used = 4;
  return decode_bmp_file(test::bmp_file(layout, data));
}

TEST(BmpDecoder, RunLengthEscapes) {
  const RleCase cases[] = {
      {"8: runs, literal, delta, end of bitmap", 1,
       {3, 1, 1, 2, 0, 0,           // bottom row: R R R G, end of line
        0, 3, 2, 3, 1, 0, 1, 3, 0, 0,  // literal G B R (padded), run B, end of line
        0, 2, 1, 0, 2, 1, 0, 1},       // move right 1, R R, end of bitmap
       {K, R, R, K, G, B, R, B, R, R, R, G}},
      {"8: a delta that moves up a row", 1,
       {1, 3, 0, 2, 1, 1, 1, 2, 0, 1},  // B at (0,bottom), move to (2,middle), G
       {K, K, K, K, K, K, G, K, B, K, K, K}},
      {"8: early end leaves the rest black", 1, {4, 2, 0, 1, 4, 1}, {K, K, K, K, K, K, K, K, G, G, G, G}},
      {"8: data that ends without end of bitmap", 1, {4, 3, 0, 0, 2}, {K, K, K, K, K, K, K, K, B, B, B, B}},
      {"8: runs past the right edge are clipped", 1, {9, 1, 0, 0, 0, 1}, {K, K, K, K, K, K, K, K, R, R, R, R}},
      {"4: alternating runs and odd literal", 2,
       {4, 0x12, 0, 0,          // R G R G
        0, 5, 0x32, 0x13, 0x20, 0, 0, 0,  // literal B G R B (G clipped), padded to 16 bits
        3, 0x33, 0, 1},          // B B B
       {B, B, B, K, B, G, R, B, R, G, R, G}},
  };
  for (const RleCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Bitmap24 image = decode_rle(c.compression, c.data);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x) EXPECT_EQ(image.pixel(x, y), c.expected[y * 4 + x]) << x << "," << y;
  }
}

TEST(BmpDecoder, RejectsMalformedFiles) {
  BmpLayout good = indexed(8, 2);
  good.width = 2;
  const Bytes pixels = test::pack_rows(good, [](int, int) { return 1u; });
  auto file_with = [&](auto change) {
    BmpLayout l = good;
    change(l);
    return test::bmp_file(l, pixels);
  };
  auto patched = [&](size_t at, uint8_t value) {
    Bytes b = test::bmp_file(good, pixels);
    b[at] = value;
    return b;
  };
  const std::pair<const char*, Bytes> cases[] = {
      {"no BM", patched(0, 'X')},
      {"only the file header", test::prefix(test::bmp_file(good, pixels), 14)},
      {"unknown header size", file_with([](BmpLayout& l) { l.header_size = 20; })},
      {"zero width", file_with([](BmpLayout& l) { l.width = 0; })},
      {"negative width", file_with([](BmpLayout& l) { l.width = -2; })},
      {"zero height", file_with([](BmpLayout& l) { l.height = 0; })},
      {"bit count 2", file_with([](BmpLayout& l) { l.bit_count = 2; })},
      {"RLE8 at 4 bits", file_with([](BmpLayout& l) { l.compression = 1, l.bit_count = 4; })},
      {"top-down RLE", file_with([](BmpLayout& l) { l.compression = 1, l.height = -2; })},
      {"bit fields at 8 bits", file_with([](BmpLayout& l) { l.compression = 3; })},
      {"embedded JPEG", file_with([](BmpLayout& l) { l.compression = 4; })},
      {"pixels missing", Bytes(test::bmp_file(good, {}))},
  };
  for (const auto& [name, file] : cases) {
    EXPECT_EQ(test::error_text([&] { decode_bmp_file(file); }), "Bitmap image is not valid")
        << name;
  }
}

TEST(BmpDecoder, RefusesPicturesBeyondTheSizeLimit) {
  const std::pair<int32_t, int32_t> too_large[] = {{16385, 1}, {1, -16385}, {8192, 8193}};
  for (const auto& [w, h] : too_large) {
    BmpLayout l = indexed(1, h);
    l.width = w;
    EXPECT_EQ(test::error_text([&] { decode_bmp_file(test::bmp_file(l, {})); }),
              "Bitmap image is too large")
        << w << " x " << h;
  }
  BmpLayout edge = indexed(1, 1);
  edge.width = 16384;
  const Bytes row(16384 / 8, 0);
  EXPECT_EQ(decode_bmp_file(test::bmp_file(edge, row)).width(), 16384);
}

}  // namespace
}  // namespace ss
