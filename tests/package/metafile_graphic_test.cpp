#include "package/metafile_graphic.h"

#include <gtest/gtest.h>

#include "package/picture.h"
#include "support/test_images.h"

namespace ss {
namespace {

using test::Bytes;

// An enhanced header record: bounds (pixels, edges inclusive), frame (hundredths of a mm).
Bytes enhanced(Rect bounds, Rect frame, size_t size = 108) {
  Bytes b;
  test::put32(b, 1);
  test::put32(b, static_cast<uint32_t>(size));
  for (const Rect& r : {bounds, frame})
    for (int32_t v : {r.left, r.top, r.right, r.bottom}) test::put32(b, static_cast<uint32_t>(v));
  test::put32(b, 0x464D4520);
  b.resize(size, 0);
  return b;
}

// A placeable header (bounding box in units, units per inch) and 18 record bytes.
Bytes placeable(Rect box, uint16_t inch, uint16_t checksum_error = 0) {
  Bytes b;
  test::put32(b, 0x9AC6CDD7);
  test::put16(b, 0);
  for (int32_t v : {box.left, box.top, box.right, box.bottom})
    test::put16(b, static_cast<uint16_t>(v));
  test::put16(b, inch);
  test::put32(b, 0);
  uint16_t checksum = checksum_error;
  for (size_t i = 0; i < 20; i += 2) checksum ^= static_cast<uint16_t>(b[i] | b[i + 1] << 8);
  test::put16(b, checksum);
  b.resize(b.size() + 18, 1);
  return b;
}

Bytes metafile_payload(const Bytes& data) {
  Bytes counted;
  test::put32(counted, static_cast<uint32_t>(data.size() + 4));  // the length counts itself
  counted.insert(counted.end(), data.begin(), data.end());
  return test::payload("TMetafile", counted);
}

TEST(MetafileGraphic, SizeComesFromTheHeader) {
  const struct {
    Bytes data;
    int32_t width, height;
  } cases[] = {
      {enhanced({0, 0, 9, 9}, {0, 0, 2540, 1270}), 96, 48},  // 2540 hundredths = one inch
      {enhanced({0, 0, 9, 9}, {100, 100, 1100, 113}), 38, 0},
      {enhanced({10, 20, 209, 119}, {0, 0, 0, 0}), 200, 100},  // no frame: the bounds
      {placeable({0, 0, 1440, 720}, 1440), 96, 48},
      {placeable({-100, -50, 100, 50}, 96), 200, 100},
      {placeable({0, 0, 30, 20}, 0), 30, 20},  // zero units per inch reads as 96
  };
  for (const auto& c : cases) {
    const Picture picture = read_picture_payload(metafile_payload(c.data));
    EXPECT_EQ(picture.graphic()->class_name(), "TMetafile");
    EXPECT_EQ(picture.width(), c.width);
    EXPECT_EQ(picture.height(), c.height);
  }
}

TEST(MetafileGraphic, RejectsWhatIsNeitherKind) {
  Bytes no_signature = enhanced({0, 0, 9, 9}, {0, 0, 100, 100});
  no_signature[40] = 'X';
  const std::pair<Bytes, const char*> cases[] = {
      {placeable({0, 0, 10, 10}, 96, 1), "Metafile is not valid"},
      {enhanced({0, 0, 9, 9}, {0, 0, 100, 100}, 100),
       "Metafile is not valid"},  // needs > 100 bytes
      {no_signature, "Metafile is not valid"},
      {test::prefix(placeable({0, 0, 10, 10}, 96), 21), "Metafile is not valid"},
      {Bytes(200, 'a'), "Metafile is not valid"},
      {enhanced({0, 0, 9, 9}, {0, 0, 2540 * 200, 100}), "Metafile is too large"},
  };
  for (const auto& [data, text] : cases)
    EXPECT_EQ(test::error_text([&] { read_picture_payload(metafile_payload(data)); }), text);
}

TEST(MetafileGraphic, DrawsThroughThePlatformRenderer) {
  struct Recorder final : MetafileRenderer {
    void draw(std::span<const uint8_t> bytes, MetafileFormat format, Bitmap24& dst,
              const Rect& r) override {
      size = bytes.size(), placeable = format == MetafileFormat::kPlaceable, rect = r;
      dst.set_pixel(0, 0, kWhite);
    }
    size_t size = 0;
    bool placeable = false;
    Rect rect;
  } recorder;
  const Picture picture = read_picture_payload(metafile_payload(placeable({0, 0, 96, 96}, 96)));
  Bitmap24 out(4, 4);
  picture.graphic()->draw(out, {0, 0, 4, 4});
  EXPECT_TRUE(out == Bitmap24(4, 4));  // no renderer: nothing drawn

  with_metafile_renderer(picture, recorder).graphic()->draw(out, {1, 1, 3, 3});
  EXPECT_EQ(recorder.size, 22u + 18u);
  EXPECT_TRUE(recorder.placeable);
  EXPECT_EQ(recorder.rect, (Rect{1, 1, 3, 3}));
  EXPECT_EQ(out.pixel(0, 0), kWhite);
}

}  // namespace
}  // namespace ss
