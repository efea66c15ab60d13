#pragma once
// An animated GIF written frame by frame, for previews of a running show. Each frame gets its
// own palette: exact when the part it stores has 256 colours or fewer, otherwise the median cut
// of its colours. Only the part of a frame that changed since the previous one is stored, and a
// frame equal to the previous one lengthens that one's delay instead.
#include <cstdint>
#include <vector>

#include "gfx/bitmap24.h"
#include "gfx/geometry.h"

struct GifFileType;

namespace ss {

class GifEncoder {
 public:
  // Every frame must have this size. loop_count 0 repeats the animation for ever.
  GifEncoder(int32_t width, int32_t height, uint16_t loop_count = 0);
  ~GifEncoder();
  GifEncoder(const GifEncoder&) = delete;
  GifEncoder& operator=(const GifEncoder&) = delete;

  // delay_cs: how long the frame stays, in hundredths of a second. Throws std::invalid_argument
  // for a frame of another size.
  void add_frame(const Bitmap24& frame, uint16_t delay_cs);
  // The whole file; the encoder is spent afterwards. A GIF without frames gets one black frame.
  std::vector<uint8_t> finish();

  // The frames in the file so far (a frame that only lengthened the one before is none).
  int32_t frames_written() const { return frames_written_ + (have_current_ ? 1 : 0); }

 private:
  struct PendingFrame {
    Rect area;
    uint32_t delay_cs = 0;
  };
  void flush_pending();

  int32_t width_;
  int32_t height_;
  std::vector<uint8_t> out_;
  GifFileType* gif_ = nullptr;
  // The last frame added, and the part of it not yet written.
  Bitmap24 current_;
  bool have_current_ = false;
  PendingFrame pending_;
  int32_t frames_written_ = 0;
};

}  // namespace ss
