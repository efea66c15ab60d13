#pragma once
// Encodes a 24-bit bitmap as a JPEG in memory (for sample media, tests and benchmarks).
#include <cstdint>
#include <vector>

#include "gfx/bitmap24.h"

namespace ss {

struct JpegEncodeOptions {
  int quality = 90;
  bool progressive = false;
  bool grayscale = false;  // one channel: the mean of blue, green and red
  // Four inverted inks with no black, with an Adobe marker, as image editors write CMYK.
  bool cmyk = false;
};

std::vector<uint8_t> encode_jpeg(const Bitmap24& image, const JpegEncodeOptions& options);

inline std::vector<uint8_t> encode_jpeg(const Bitmap24& image, int quality) {
  return encode_jpeg(image, JpegEncodeOptions{.quality = quality});
}

}  // namespace ss
