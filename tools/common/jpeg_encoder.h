#pragma once
// Encodes a 24-bit bitmap as a baseline JPEG in memory (for sample media and tests).
#include <cstdint>
#include <vector>

#include "base/bitmap24.h"

namespace ss {

std::vector<uint8_t> encode_jpeg(const Bitmap24& image, int quality);

}  // namespace ss
