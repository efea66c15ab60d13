#include <gtest/gtest.h>

#include <cstdio>

#include "package/picture.h"
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "package/png_codec.h"
#include "support/test_images.h"

namespace ss {
namespace {

using test::Bytes;

Bytes small_bmp() {
  test::BmpLayout l{
      .width = 3, .height = 2, .bit_count = 8, .palette = {rgb(255, 0, 0), rgb(0, 0, 255)}};
  return test::bmp_file(l, test::pack_rows(l, [](int x, int y) { return (x + y) % 2u; }));
}

Bytes small_jpeg(bool progressive = false) {
  return test::jpeg_file(
      test::make_bitmap(24, 16, [](int x, int) { return x < 12 ? kWhite : kBlack; }),
      {.progressive = progressive});
}

Bytes small_icon() {
  return test::icon_file(
      {{test::icon_bitmap(
            4, 4, 4, [](int, int) { return kWhite; }, [](int, int) { return false; }),
        4, 4, 4}});
}

Bytes with_length(const char* class_name, uint32_t length, size_t present) {
  Bytes data;
  test::put32(data, length);
  data.resize(4 + present, 0x55);
  return test::payload(class_name, data);
}

TEST(PicturePayload, KnownClassNamesGiveTheirGraphic) {
  const struct {
    Bytes payload;
    const char* class_name;
    int32_t width, height;
  } cases[] = {
      {test::counted_payload("TBitmap", small_bmp()), "TBitmap", 3, 2},
      {test::counted_payload("TBitmap", {}), "TBitmap", 0, 0},  // N = 0: an empty bitmap
      {test::counted_payload("TJPEGImage", small_jpeg()), "TJPEGImage", 24, 16},
      {test::payload("TIcon", small_icon()), "TIcon", 4, 4},
      {with_length("TMetafile", 4, 0), "TMetafile", 0, 0},  // N <= 4: an empty metafile
      {with_length("TMetafile", 0, 0), "TMetafile", 0, 0},
  };
  for (const auto& c : cases) {
    const Picture picture = read_picture_payload(c.payload);
    ASSERT_TRUE(picture.has_graphic()) << c.class_name;
    EXPECT_EQ(picture.graphic()->class_name(), c.class_name);
    EXPECT_EQ(picture.width(), c.width);
    EXPECT_EQ(picture.height(), c.height);
    Bitmap24 out(2, 2);
    picture.graphic()->draw(out, out.bounds());
  }
  EXPECT_EQ(Picture::from_bitmap(Bitmap24(5, 3)).graphic()->class_name(), "TBitmap");
}

TEST(PicturePayload, OtherClassNamesGiveNoGraphic) {
  // Compared with letter case; whatever follows is not looked at.
  for (const char* name : {"TJpegImage", "TBITMAP", "ticon", "TPngImage", ""})
    EXPECT_FALSE(read_picture_payload(test::payload(name, Bytes{0xFF, 0xFF})).has_graphic())
        << name;
}

TEST(PicturePayload, ErrorTexts) {
  Bytes not_bm = small_bmp();
  not_bm[0] = 'b';
  Bytes cursor = small_icon();
  cursor[2] = 2;
  const std::pair<Bytes, std::string> cases[] = {
      {test::counted_payload("TBitmap", not_bm), "Bitmap image is not valid"},
      {test::payload("TIcon", cursor), "Icon image is not valid"},
      {test::payload("TIcon", {}), "Icon image is not valid"},
      {test::counted_payload("TJPEGImage", Bytes(64, 0x42)),
       "JPEG error #" + std::to_string(JERR_NO_SOI)},
      {test::counted_payload("TMetafile", Bytes(300, 0)), "Metafile is not valid"},
      // Lengths are checked against what is left before anything is allocated.
      {{}, kStreamReadError},
      {Bytes{10, 'T', 'J', 'P', 'E', 'G'}, kStreamReadError},
      {test::payload("TBitmap", Bytes{1, 0}), kStreamReadError},
      {with_length("TBitmap", 11, 10), kStreamReadError},
      {with_length("TJPEGImage", 0xFFFFFFFF, 10), kStreamReadError},
      {with_length("TMetafile", 4 + 11, 10), kStreamReadError},
      {with_length("TMetafile", 0xFFFFFFFF, 10), kStreamReadError},
  };
  for (const auto& [payload, text] : cases)
    EXPECT_EQ(test::error_text([&] { read_picture_payload(payload); }), text);
}

// Every prefix of every kind of payload either decodes or raises a SaverError, and whatever
// decoded draws. Under the sanitizers this finds reads past the end.
TEST(PicturePayload, EveryTruncationFailsCleanly) {
  test::BmpLayout rle{
      .width = 5, .height = 4, .bit_count = 8, .compression = 1, .palette = {kWhite, kBlack}};
  auto colour = [](int x, int y) { return test::pure_colours()[(x + y) % 7]; };
  auto diagonal = [](int x, int y) { return x == y; };
  auto ramp = [](int x, int) -> uint8_t { return static_cast<uint8_t>(x * 8); };
  std::vector<Bytes> payloads = {
      test::counted_payload("TBitmap", small_bmp()),
      test::counted_payload("TBitmap", test::bmp_file(rle, {3, 1, 0, 3, 1, 0, 1, 0, 0, 2, 1, 1})),
      test::counted_payload("TJPEGImage", small_jpeg()),
      test::counted_payload("TJPEGImage", small_jpeg(true)),
      test::payload(
          "TIcon",
          test::icon_file({{test::icon_bitmap(16, 16, 8, colour, diagonal), 16, 16, 8},
                           {test::icon_bitmap(32, 32, 32, colour, diagonal, ramp), 32, 32, 32}})),
  };
  if (png_supported())
    payloads.push_back(test::payload(
        "TIcon", test::icon_file({{test::png_with_alpha(test::make_bitmap(32, 32, colour), ramp),
                                   32, 32, 32}})));
  int drawn = 0;
  for (const Bytes& full : payloads) {
    for (size_t n = 0; n <= full.size(); ++n) {
      try {
        const Picture picture = read_picture_payload(std::span(full.data(), n));
        Bitmap24 out(20, 20);
        if (picture.has_graphic()) picture.graphic()->draw(out, {-3, 2, 17, 25}), ++drawn;
      } catch (const SaverError&) {
      }
    }
  }
  EXPECT_GT(drawn, 0);
}

}  // namespace
}  // namespace ss
