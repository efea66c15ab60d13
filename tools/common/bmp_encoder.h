#pragma once
// Encodes a 24-bit bitmap as a bottom-up BMP file, the form every reader accepts.
#include <cstdint>
#include <vector>

#include "gfx/bitmap24.h"

namespace ss {

std::vector<uint8_t> encode_bmp(const Bitmap24& image);

}  // namespace ss
