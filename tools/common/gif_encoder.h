#pragma once
// An animated GIF written frame by frame, for previews of a running show. Every frame is mapped
// onto one fixed palette, a cube of 6 reds × 7 greens × 6 blues, so black and white stay exact
// and no frame needs its own table. Only the part of a frame that changed since the previous
// one is stored, and a frame equal to the previous one lengthens that one's delay instead.
#include <cstdint>
#include <vector>

#include "gfx/bitmap24.h"
#include "gfx/geometry.h"

namespace ss {

// The palette index of a colour (nearest level on each axis) and the colour of an index.
uint8_t gif_palette_index(uint8_t red, uint8_t green, uint8_t blue);
Color gif_palette_color(uint8_t index);

// The LZW code stream of GIF image data (minimum code size 8), without the sub-block framing.
std::vector<uint8_t> gif_lzw_encode(const std::vector<uint8_t>& indices);

class GifEncoder {
 public:
  // Every frame must have this size. loop_count 0 repeats the animation for ever.
  GifEncoder(int32_t width, int32_t height, uint16_t loop_count = 0);

  // delay_cs: how long the frame stays, in hundredths of a second. Throws std::invalid_argument
  // for a frame of another size.
  void add_frame(const Bitmap24& frame, uint16_t delay_cs);
  // The whole file; the encoder is spent afterwards. A GIF without frames gets one black frame.
  std::vector<uint8_t> finish();

  int32_t frames_written() const { return frames_written_; }

 private:
  struct PendingFrame {
    Rect area;
    uint32_t delay_cs = 0;
  };
  void write_header();
  void flush_pending();

  int32_t width_;
  int32_t height_;
  uint16_t loop_count_;
  std::vector<uint8_t> out_;
  // The palette indices of the last frame added, and the part of it not yet written.
  std::vector<uint8_t> current_;
  bool have_current_ = false;
  PendingFrame pending_;
  int32_t frames_written_ = 0;
};

}  // namespace ss
