#include <gtest/gtest.h>

#include "base/error.h"
#include "package/metafile_graphic.h"
#include "package/picture.h"
#include "test_images.h"

namespace ss {
namespace {

using test::Bytes;
using test::put16;
using test::put32;

// An enhanced header record: bounds (pixels, inclusive) and frame (hundredths of a mm).
Bytes enhanced(Rect bounds, Rect frame, size_t size = 108) {
  Bytes b;
  put32(b, 1);
  put32(b, static_cast<uint32_t>(size));
  for (const Rect& r : {bounds, frame})
    for (int32_t v : {r.left, r.top, r.right, r.bottom}) put32(b, static_cast<uint32_t>(v));
  put32(b, 0x464D4520);
  b.resize(size, 0);
  return b;
}

// A placeable header (bounding box in units, units per inch) and a few record bytes.
Bytes placeable(Rect box, uint16_t inch, bool good_checksum = true) {
  Bytes b;
  put32(b, 0x9AC6CDD7);
  put16(b, 0);
  for (int32_t v : {box.left, box.top, box.right, box.bottom}) put16(b, static_cast<uint16_t>(v));
  put16(b, inch);
  put32(b, 0);
  uint16_t checksum = 0;
  for (size_t i = 0; i < 10; ++i) checksum ^= static_cast<uint16_t>(b[2 * i] | b[2 * i + 1] << 8);
  put16(b, good_checksum ? checksum : checksum ^ 1);
  for (int i = 0; i < 18; ++i) b.push_back(static_cast<uint8_t>(i));
  return b;
}

Bytes metafile_payload(const Bytes& data) {
  Bytes counted;
  put32(counted, static_cast<uint32_t>(data.size() + 4));  // the length counts itself
  counted.insert(counted.end(), data.begin(), data.end());
  return test::payload("TMetafile", counted);
}

TEST(MetafileGraphic, SizeComesFromTheHeader) {
  struct Case {
    const char* name;
    Bytes data;
    int32_t width, height;
  };
  const Case cases[] = {
      {"enhanced frame, 2540 = one inch", enhanced({0, 0, 9, 9}, {0, 0, 2540, 1270}), 96, 48},
      {"enhanced frame offset and rounded", enhanced({0, 0, 9, 9}, {100, 100, 100 + 1000, 100 + 13}), 38, 0},
      {"enhanced without a frame uses the bounds", enhanced({10, 20, 209, 119}, {0, 0, 0, 0}), 200, 100},
      {"placeable at 1440 units per inch", placeable({0, 0, 1440, 720}, 1440), 96, 48},
      {"placeable with a negative origin", placeable({-100, -50, 100, 50}, 96), 200, 100},
      {"placeable with zero units per inch", placeable({0, 0, 30, 20}, 0), 30, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Picture picture = read_picture_payload(metafile_payload(c.data));
    ASSERT_TRUE(picture.has_graphic());
    EXPECT_EQ(picture.graphic()->class_name(), "TMetafile");
    EXPECT_EQ(picture.width(), c.width);
    EXPECT_EQ(picture.height(), c.height);
  }
}

TEST(MetafileGraphic, RejectsWhatIsNeitherKind) {
  Bytes wrong_signature = enhanced({0, 0, 9, 9}, {0, 0, 100, 100});
  wrong_signature[40] = 'X';
  const std::pair<const char*, Bytes> cases[] = {
      {"bad checksum", placeable({0, 0, 10, 10}, 96, false)},
      {"enhanced of only 100 bytes", enhanced({0, 0, 9, 9}, {0, 0, 100, 100}, 100)},
      {"enhanced signature missing", wrong_signature},
      {"placeable header cut short", test::prefix(placeable({0, 0, 10, 10}, 96), 21)},
      {"text", Bytes(200, 'a')},
  };
  for (const auto& [name, data] : cases)
    EXPECT_EQ(test::error_text([&] { read_picture_payload(metafile_payload(data)); }),
              "Metafile is not valid")
        << name;
  EXPECT_EQ(test::error_text([&] {
              read_picture_payload(metafile_payload(enhanced({0, 0, 9, 9}, {0, 0, 2540 * 200, 100})));
            }),
            "Metafile is too large");
}

class RecordingRenderer final : public MetafileRenderer {
 public:
  void draw(std::span<const uint8_t> bytes, MetafileFormat format, Bitmap24& dst,
            const Rect& dst_rect) override {
    ++calls;
    last_size = bytes.size();
    last_format = format;
    last_rect = dst_rect;
    dst.set_pixel(0, 0, kWhite);
  }
  int calls = 0;
  size_t last_size = 0;
  MetafileFormat last_format = MetafileFormat::kEnhanced;
  Rect last_rect;
};

TEST(MetafileGraphic, DrawsThroughThePlatformRenderer) {
  const Picture picture = read_picture_payload(metafile_payload(placeable({0, 0, 96, 96}, 96)));
  Bitmap24 out(4, 4);
  picture.graphic()->draw(out, {0, 0, 4, 4});
  EXPECT_EQ(out.pixel(0, 0), kBlack);  // no renderer: nothing drawn

  RecordingRenderer renderer;
  set_metafile_renderer(&renderer);
  picture.graphic()->draw(out, {1, 1, 3, 3});
  set_metafile_renderer(nullptr);
  EXPECT_EQ(renderer.calls, 1);
  EXPECT_EQ(renderer.last_size, 22u + 18u);
  EXPECT_EQ(renderer.last_format, MetafileFormat::kPlaceable);
  EXPECT_EQ(renderer.last_rect, (Rect{1, 1, 3, 3}));
  EXPECT_EQ(out.pixel(0, 0), kWhite);
}

TEST(MetafileGraphic, ShortLengthsGiveAnEmptyMetafile) {
  for (const uint32_t length : {0u, 3u, 4u}) {
    Bytes data;
    put32(data, length);
    const Picture picture = read_picture_payload(test::payload("TMetafile", data));
    ASSERT_TRUE(picture.has_graphic()) << length;
    EXPECT_TRUE(picture.graphic()->empty());
    EXPECT_EQ(picture.graphic()->class_name(), "TMetafile");
  }
}

}  // namespace
}  // namespace ss
