#include <gtest/gtest.h>

#include <cstdio>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "base/error.h"
#include "package/bitmap_graphic.h"
#include "package/jpeg_graphic.h"
#include "package/picture.h"
#include "package/png_codec.h"
#include "test_images.h"

namespace ss {
namespace {

using test::Bytes;

Bytes small_bmp() {
  test::BmpLayout layout;
  layout.width = 3;
  layout.height = 2;
  layout.bit_count = 8;
  layout.palette = {rgb(255, 0, 0), rgb(0, 0, 255)};
  return test::bmp_file(layout, test::pack_rows(layout, [](int x, int y) { return (x + y) % 2u; }));
}

Bytes small_jpeg(bool progressive = false) {
  return test::jpeg_file(test::make_bitmap(24, 16, [](int x, int) { return x < 12 ? kWhite : kBlack; }),
                         {.progressive = progressive});
}

TEST(PicturePayload, KnownClassNamesGiveTheirGraphic) {
  const auto icon = test::icon_file({{test::icon_bitmap(
                                          4, 4, 4, [](int, int) { return kWhite; },
                                          [](int, int) { return false; }),
                                      4, 4, 4}});
  const struct {
    Bytes payload;
    const char* class_name;
    int32_t width, height;
  } cases[] = {
      {test::counted_payload("TBitmap", small_bmp()), "TBitmap", 3, 2},
      {test::counted_payload("TJPEGImage", small_jpeg()), "TJPEGImage", 24, 16},
      {test::payload("TIcon", icon), "TIcon", 4, 4},
  };
  for (const auto& c : cases) {
    const Picture picture = read_picture_payload(c.payload);
    ASSERT_TRUE(picture.has_graphic()) << c.class_name;
    EXPECT_EQ(picture.graphic()->class_name(), c.class_name);
    EXPECT_EQ(picture.width(), c.width);
    EXPECT_EQ(picture.height(), c.height);
  }
}

TEST(PicturePayload, BitmapFileIsDecodedUpright) {
  const Picture picture = read_picture_payload(test::counted_payload("TBitmap", small_bmp()));
  Bitmap24 out(3, 2);
  picture.graphic()->draw(out, out.bounds());
  EXPECT_EQ(out.pixel(0, 0), rgb(255, 0, 0));
  EXPECT_EQ(out.pixel(1, 0), rgb(0, 0, 255));
  EXPECT_EQ(out.pixel(0, 1), rgb(0, 0, 255));
}

TEST(PicturePayload, OtherClassNamesGiveNoGraphic) {
  // Compared with letter case; whatever follows is not looked at.
  for (const char* name : {"TJpegImage", "TBITMAP", "ticon", "TPngImage", ""}) {
    const Picture picture = read_picture_payload(test::payload(name, Bytes{0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(picture.has_graphic()) << name;
  }
}

TEST(PicturePayload, EmptyBitmapIsAGraphicOfNoSize) {
  const Picture picture = read_picture_payload(test::counted_payload("TBitmap", {}));
  ASSERT_TRUE(picture.has_graphic());
  EXPECT_EQ(picture.graphic()->class_name(), "TBitmap");
  EXPECT_TRUE(picture.graphic()->empty());
  Bitmap24 out(2, 2);
  picture.graphic()->draw(out, out.bounds());  // draws nothing, fails nothing
}

TEST(PicturePayload, ErrorTexts) {
  Bytes not_bm = small_bmp();
  not_bm[0] = 'b';
  Bytes cursor = test::icon_file({});
  cursor[2] = 2;
  const std::pair<Bytes, std::string> cases[] = {
      {test::counted_payload("TBitmap", not_bm), "Bitmap image is not valid"},
      {test::counted_payload("TBitmap", Bytes{'B'}), "Bitmap image is not valid"},
      {test::payload("TIcon", cursor), "Icon image is not valid"},
      {test::payload("TIcon", {}), "Icon image is not valid"},
      {test::counted_payload("TJPEGImage", Bytes(64, 0x42)),
       "JPEG error #" + std::to_string(JERR_NO_SOI)},
      {test::counted_payload("TMetafile", Bytes(300, 0)), "Metafile is not valid"},
  };
  for (const auto& [payload, text] : cases)
    EXPECT_EQ(test::error_text([&] { read_picture_payload(payload); }), text);
}

TEST(PicturePayload, LengthsPastTheEndAreStreamReadErrors) {
  auto with_length = [](const char* name, uint32_t length, size_t present) {
    Bytes data;
    test::put32(data, length);
    data.resize(4 + present, 0x55);
    return test::payload(name, data);
  };
  const Bytes cases[] = {
      {},                                        // no class name
      Bytes{10, 'T', 'J', 'P', 'E', 'G'},        // class name cut short
      test::payload("TBitmap", Bytes{1, 0}),     // length cut short
      with_length("TBitmap", 11, 10),
      with_length("TJPEGImage", 0xFFFFFFFF, 10),  // must not try to allocate 4 GB
      with_length("TJPEGImage", 0x7FFFFFFF, 0),
      with_length("TMetafile", 4 + 11, 10),
      with_length("TMetafile", 0xFFFFFFFF, 10),
  };
  for (const Bytes& payload : cases)
    EXPECT_EQ(test::error_text([&] { read_picture_payload(payload); }), kStreamReadError);
}

TEST(PicturePayload, FromBitmapWrapsTheBitmap) {
  const Picture picture = Picture::from_bitmap(test::make_bitmap(5, 3, [](int x, int) { return x == 4 ? kWhite : kBlack; }));
  EXPECT_EQ(picture.graphic()->class_name(), "TBitmap");
  EXPECT_EQ(picture.width(), 5);
  Bitmap24 out(5, 3);
  picture.graphic()->draw(out, out.bounds());
  EXPECT_EQ(out.pixel(4, 2), kWhite);
}

// Every prefix of every kind of payload either decodes or raises a SaverError; drawing whatever
// decoded must not fail in any other way either. Run under the sanitizers this finds reads past
// the end.
TEST(PicturePayload, EveryTruncationFailsCleanly) {
  std::vector<Bytes> payloads = {
      test::counted_payload("TBitmap", small_bmp()),
      test::counted_payload("TJPEGImage", small_jpeg()),
      test::counted_payload("TJPEGImage", small_jpeg(true)),
  };
  {  // run-length bitmap whose data ends without an end-of-bitmap escape
    test::BmpLayout rle;
    rle.width = 5;
    rle.height = 4;
    rle.bit_count = 8;
    rle.compression = 1;
    rle.palette = {kWhite, kBlack};
    payloads.push_back(test::counted_payload("TBitmap", test::bmp_file(rle, {3, 1, 0, 3, 1, 0, 1, 0, 0, 2, 1, 1})));
  }
  auto ring = [](int x, int y) { return test::pure_colours()[(x + y) % 7]; };
  auto hole = [](int x, int y) { return x == y; };
  payloads.push_back(test::payload(
      "TIcon", test::icon_file({{test::icon_bitmap(16, 16, 8, ring, hole), 16, 16, 8},
                                {test::icon_bitmap(32, 32, 32, ring, hole, [](int x, int) -> uint8_t { return static_cast<uint8_t>(x * 8); }), 32, 32, 32}})));
  if (png_supported())
    payloads.push_back(test::payload(
        "TIcon", test::icon_file({{test::png_with_alpha(test::make_bitmap(32, 32, ring), [](int x, int) -> uint8_t { return static_cast<uint8_t>(x * 8); }), 32, 32, 32}})));

  int decoded = 0;
  for (const Bytes& full : payloads) {
    for (size_t n = 0; n <= full.size(); ++n) {
      const std::span<const uint8_t> prefix(full.data(), n);
      try {
        const Picture picture = read_picture_payload(prefix);
        if (picture.has_graphic()) {
          Bitmap24 out(20, 20);
          picture.graphic()->draw(out, {-3, 2, 17, 25});
          ++decoded;
        }
      } catch (const SaverError&) {
      }
    }
  }
  EXPECT_GT(decoded, 0);
}

}  // namespace
}  // namespace ss
