// The picture record: its stream layout as the authoring tool writes it, and Picture.Data
// handed whole to the payload reader.
#include <gtest/gtest.h>

#include "package/class_registry.h"
#include "package/image_record.h"
#include "stream_bytes.h"

namespace ss {
namespace {

using test::error_of;
using test::StreamBytes;

// Graphic class name, then a counted file.
std::vector<uint8_t> payload(std::string_view graphic_class, const std::vector<uint8_t>& file) {
  StreamBytes p;
  p.str(graphic_class).u32(static_cast<uint32_t>(file.size())).append(file);
  return p.bytes;
}

// A 1×1 24-bit bitmap file holding one red pixel.
std::vector<uint8_t> red_pixel_bmp() {
  StreamBytes b;
  b.chars("BM").u32(58).u32(0).u32(54);
  b.u32(40).u32(1).u32(1).u8({1, 0, 24, 0}).u32(0).u32(4).u32(0).u32(0).u32(0).u32(0);
  b.u8({0x00, 0x00, 0xFF, 0x00});
  return b.bytes;
}

TEST(ImageWriter, ReproducesTheSamplePictureStream) {
  // The sample's JPEG is 41,926 bytes; its content does not matter to the layout.
  std::vector<uint8_t> jpeg(41926, 0x55);
  jpeg[0] = 0xFF, jpeg[1] = 0xD8, jpeg[2] = 0xFF, jpeg[3] = 0xE0;
  jpeg[41924] = 0xFF, jpeg[41925] = 0xD9;
  const std::vector<uint8_t> data = payload("TJPEGImage", jpeg);
  ASSERT_EQ(data.size(), 41941u);

  StreamBytes expected = test::stream_header("TImage");
  expected.str("Left").u8({2, 0}).str("Top").u8({2, 0});
  expected.str("Width").u8({2, 0x69}).str("Height").u8({2, 0x69});
  expected.str("Picture.Data").u8({0x0A, 0xD5, 0xA3, 0x00, 0x00});
  expected.str("TJPEGImage").u8({0xC6, 0xA3, 0x00, 0x00, 0xFF, 0xD8, 0xFF, 0xE0});

  const std::vector<uint8_t> written = write_image_stream(105, 105, data);
  EXPECT_EQ(written.size(), 42003u);  // the sample item's length
  EXPECT_EQ(
      std::vector<uint8_t>(written.begin(), written.begin() + static_cast<long>(expected.size())),
      expected.bytes);
  EXPECT_EQ(std::vector<uint8_t>(written.end() - 4, written.end()),
            (std::vector<uint8_t>{0xFF, 0xD9, 0, 0}));
}

TEST(ImageReader, ReadsBoundsAndDecodesThePayload) {
  const std::vector<uint8_t> stream =
      write_image_stream(105, 77, payload("TBitmap", red_pixel_bmp()));
  MemorySource source(stream);
  StreamRecord record = read_stream_record(source);
  ASSERT_TRUE(std::holds_alternative<TImage>(record));
  const TImage& image = std::get<TImage>(record);
  EXPECT_EQ(image.Width, 105);
  EXPECT_EQ(image.Height, 77);
  ASSERT_TRUE(image.Picture.has_graphic());
  EXPECT_EQ(image.Picture.width(), 1);
  EXPECT_EQ(source.position(), static_cast<int64_t>(stream.size()));

  // A graphic class in other letter case is no graphic, and no error.
  const std::vector<uint8_t> other_case = write_image_stream(1, 1, payload("TJpegImage", {1, 2}));
  MemorySource other_source(other_case);
  EXPECT_FALSE(std::get<TImage>(read_stream_record(other_source)).Picture.has_graphic());
}

TEST(ImageReader, PayloadErrorsAreWrappedWithThePropertyName) {
  struct Case {
    const char* label;
    std::vector<uint8_t> stream;
    std::string message;
  };
  const Case cases[] = {
      {"data as short text",
       test::stream_header("TImage").str("Picture.Data").u8({6}).str("TBitmap").u8({0, 0}).bytes,
       "Error reading TImage.Picture.Data: Invalid property value"},
      {"bitmap without BM",
       write_image_stream(1, 1, payload("TBitmap", {'X', 'X', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})),
       "Error reading TImage.Picture.Data: Bitmap image is not valid"},
      {"binary longer than the file",
       test::stream_header("TImage")
           .str("Picture.Data")
           .u8({10})
           .u32(0x7FFFFFFF)
           .u8({1, 2, 3})
           .bytes,
       "Error reading TImage.Picture.Data: Stream read error"},
      {"negative-looking length",
       test::stream_header("TImage").str("Picture.Data").u8({10}).u32(0xFFFFFFF0).bytes,
       "Error reading TImage.Picture.Data: Stream read error"},
  };
  for (const Case& c : cases) {
    MemorySource source(c.stream);
    EXPECT_EQ(error_of([&] { read_stream_record(source); }), c.message) << c.label;
  }
}

TEST(Truncation, EveryPrefixOfAPictureStreamFails) {
  // A payload of more than one block, so that cuts fall inside the direct read as well.
  std::vector<uint8_t> noise(6000);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 7);
  const std::vector<uint8_t> full = write_image_stream(640, 480, payload("TNoGraphic", noise));
  for (size_t n = 0; n < full.size(); ++n) {
    MemorySource source(std::span(full.data(), n));
    const std::string message = error_of([&] { read_stream_record(source); });
    const bool wrapped =
        message.starts_with("Error reading TImage.") && message.ends_with(": Stream read error");
    EXPECT_TRUE(message == "Stream read error" || wrapped) << n << ": " << message;
  }
}

}  // namespace
}  // namespace ss
