#pragma once
// Reads what the recorder writes back into whole canvases, frame by frame, through giflib's
// decoder (not the encoder's code), so that the two check each other.
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
  int palette_size = 0;  // the colours of the frame's own table
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

}  // namespace ss_test
