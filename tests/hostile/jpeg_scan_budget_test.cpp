// Progressive JPEGs whose scan headers are repeated: each scan passes over the whole picture, so
// a large picture is allowed fewer scans than a small one, and a hostile file is cut off before
// it costs seconds.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/bitmap24.h"
#include "base/error.h"
#include "common/jpeg_encoder.h"
#include "package/jpeg_graphic.h"

namespace ss {
namespace {

using Bytes = std::vector<uint8_t>;

// A 16 × 16 progressive JPEG that claims `width` × `height`, with its last scan repeated until
// it has `scans` scans (libjpeg only warns about the odd progression; the missing data reads as
// zeros).
Bytes progressive_file(uint16_t width, uint16_t height, int scans) {
  Bitmap24 image(16, 16);
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x)
      image.set_pixel(x, y, rgb(uint8_t(x * 16), uint8_t(y * 16), 9));
  Bytes file = encode_jpeg(image, JpegEncodeOptions{.quality = 80, .progressive = true});
  size_t frame = 2;
  while (!(file[frame] == 0xFF && file[frame + 1] == 0xC2)) ++frame;
  file[frame + 5] = uint8_t(height >> 8), file[frame + 6] = uint8_t(height);
  file[frame + 7] = uint8_t(width >> 8), file[frame + 8] = uint8_t(width);

  int present = 0;
  size_t last_scan = 0;
  for (size_t i = 0; i + 1 < file.size(); ++i)
    if (file[i] == 0xFF && file[i + 1] == 0xDA) ++present, last_scan = i;
  const Bytes scan(file.begin() + static_cast<long>(last_scan), file.end() - 2);
  file.resize(file.size() - 2);
  for (int i = present; i < scans; ++i) file.insert(file.end(), scan.begin(), scan.end());
  file.insert(file.end(), {0xFF, 0xD9});
  return file;
}

std::string draw_error(const Bytes& file) {
  try {
    const JpegGraphic jpeg(file);
    Bitmap24 screen(256, 256);
    jpeg.draw(screen, screen.bounds());
  } catch (const SaverError& e) {
    return e.what();
  }
  return "no error";
}

TEST(JpegScanBudget, ShrinksAsThePictureGrows) {
  EXPECT_EQ(jpeg_scan_limit(640, 480), kJpegMaxScans);
  EXPECT_EQ(jpeg_scan_limit(4096, 4096), 64);
  // The largest picture allowed still has room for every scan an encoder writes.
  EXPECT_EQ(jpeg_scan_limit(16384, 4096), 16);
  EXPECT_EQ(jpeg_scan_limit(0, 0), kJpegMaxScans);
}

TEST(JpegScanBudget, ALargePictureWithRepeatedScansIsCutOff) {
  // 4096 × 4096 may have 64 scans: before the budget, 1000 of them were decoded.
  EXPECT_EQ(draw_error(progressive_file(4096, 4096, 64)), "no error");
  EXPECT_EQ(draw_error(progressive_file(4096, 4096, 65)), kJpegTooManyScans);
}

}  // namespace
}  // namespace ss
