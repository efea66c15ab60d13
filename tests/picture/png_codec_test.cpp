#include <gtest/gtest.h>

#include "base/error.h"
#include "package/png_codec.h"
#include "test_images.h"

namespace ss {
namespace {

using test::Bytes;

uint32_t crc32_of(const uint8_t* p, size_t n) {
  uint32_t crc = 0xFFFFFFFF;
  for (size_t i = 0; i < n; ++i) {
    crc ^= p[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

// Rewrites the header chunk's width and height (and its checksum).
Bytes with_png_size(Bytes png, uint32_t width, uint32_t height) {
  const uint32_t v[2] = {width, height};
  for (int k = 0; k < 2; ++k)
    for (int i = 0; i < 4; ++i) png[16 + 4 * k + i] = static_cast<uint8_t>(v[k] >> (24 - 8 * i));
  const uint32_t crc = crc32_of(png.data() + 12, 17);
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  return png;
}

class PngCodec : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!png_supported()) GTEST_SKIP() << "built without libpng";
  }
};

TEST_F(PngCodec, RoundTripKeepsEveryPixel) {
  const Bitmap24 image = test::make_bitmap(
      37, 11, [](int x, int y) { return rgb(static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 23), 200); });
  const Bytes png = encode_png(image);
  ASSERT_TRUE(is_png(png));
  const PngImage back = decode_png(png);
  EXPECT_TRUE(back.pixels == image);
  EXPECT_TRUE(back.alpha.empty());
}

TEST_F(PngCodec, AlphaComesOutPerPixel) {
  const Bitmap24 image = test::make_bitmap(4, 2, [](int, int) { return rgb(10, 20, 30); });
  const PngImage back =
      decode_png(test::png_with_alpha(image, [](int x, int y) -> uint8_t { return static_cast<uint8_t>(x * 60 + y); }));
  ASSERT_EQ(back.alpha.size(), 8u);
  EXPECT_EQ(back.alpha[1], 60);
  EXPECT_EQ(back.alpha[4 + 3], 181);
  EXPECT_EQ(back.pixels.pixel(3, 1), rgb(10, 20, 30));
}

TEST_F(PngCodec, RefusesBrokenAndOversizedFiles) {
  const Bytes png = encode_png(test::make_bitmap(8, 8, [](int, int) { return kWhite; }));
  EXPECT_EQ(test::error_text([&] { decode_png(Bytes(png.begin(), png.begin() + 40)); }),
            "PNG image is not valid");
  EXPECT_EQ(test::error_text([&] { decode_png(Bytes(20, 0x89)); }), "PNG image is not valid");
  EXPECT_EQ(test::error_text([&] { decode_png(with_png_size(png, 16385, 8)); }), "PNG image is too large");
  EXPECT_EQ(test::error_text([&] { decode_png(with_png_size(png, 9000, 9000)); }), "PNG image is too large");
  EXPECT_EQ(test::error_text([&] { decode_png(png, {"custom", "big"}); }), "no error");
  EXPECT_EQ(test::error_text([&] { encode_png(Bitmap24()); }), "Cannot write an empty picture as PNG");
}

}  // namespace
}  // namespace ss
