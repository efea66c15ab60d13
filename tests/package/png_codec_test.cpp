#include "package/png_codec.h"

#include <gtest/gtest.h>

#include "support/test_images.h"

namespace ss {
namespace {

TEST(PngCodec, RoundTripKeepsEveryPixelAndRefusesBrokenFiles) {
  if (!png_supported()) GTEST_SKIP() << "built without libpng";
  const Bitmap24 image = test::make_bitmap(37, 11, [](int x, int y) {
    return rgb(static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 23), 200);
  });
  const test::Bytes png = encode_png(image);
  const PngImage back = decode_png(png);
  EXPECT_TRUE(back.pixels == image);
  EXPECT_TRUE(back.alpha.empty());

  EXPECT_EQ(test::error_text([&] { decode_png(test::prefix(png, 40)); }), "PNG image is not valid");
  EXPECT_EQ(test::error_text([&] { decode_png(test::Bytes(20, 0x89)); }), "PNG image is not valid");
  EXPECT_EQ(test::error_text([&] { encode_png(Bitmap24()); }),
            "Cannot write an empty picture as PNG");
}

}  // namespace
}  // namespace ss
