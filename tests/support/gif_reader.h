#pragma once
// A small GIF decoder for checking what the recorder writes: global colour table, frames with a
// sub-rectangle that stay in place, the looping block. Written from the format, independently of
// the encoder, so that the two check each other.
#include <cstdint>
#include <span>
#include <vector>

#include "gfx/bitmap24.h"
#include "gfx/geometry.h"

namespace ss_test {

struct GifFrame {
  ss::Bitmap24 image;  // the whole canvas after this frame
  ss::Rect area;       // the part the frame itself carried
  uint16_t delay_cs = 0;
};

struct GifFile {
  int32_t width = 0;
  int32_t height = 0;
  bool loops = false;
  uint16_t loop_count = 0;
  std::vector<GifFrame> frames;
};

// Throws std::runtime_error on anything malformed or beyond what the recorder writes.
GifFile decode_gif(std::span<const uint8_t> bytes);

// The indices of an LZW code stream with minimum code size 8.
std::vector<uint8_t> lzw_decode(std::span<const uint8_t> codes);

}  // namespace ss_test
