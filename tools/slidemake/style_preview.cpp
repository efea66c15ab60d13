#include "style_preview.h"

#include <algorithm>

#include "base/random.h"
#include "common/gif_encoder.h"
#include "effects/update_frame.h"

namespace slidemake {
namespace {

// The old picture stands, the transition plays in about a second, the new picture stands.
constexpr uint16_t kHoldCs = 70;
constexpr uint16_t kFrameCs = 4;

// The GIF's fixed palette has six or seven levels a channel: plain rounding turns soft greys and
// skies into bands of false colour. A 4 × 4 ordered dither, fixed to the pixel's place, spreads
// the error without making still parts of the frame change from one frame to the next.
void dither_for_palette(ss::Bitmap24& frame) {
  static constexpr int kBayer[4][4] = {
      {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  // Steps between palette levels: 255/5 for red and blue, 255/6 for green (blue, green, red order).
  static constexpr int kStep[3] = {51, 42, 51};
  for (int32_t y = 0; y < frame.height(); ++y) {
    uint8_t* row = frame.row(y);
    for (int32_t x = 0; x < frame.width(); ++x) {
      const int threshold = kBayer[y & 3][x & 3];  // 0..15
      for (int c = 0; c < 3; ++c) {
        const int value = row[x * 3 + c] + (threshold * 2 - 15) * kStep[c] / 32;
        row[x * 3 + c] = static_cast<uint8_t>(std::clamp(value, 0, 255));
      }
    }
  }
}

}  // namespace

std::mutex& engine_mutex() {
  static std::mutex mutex;
  return mutex;
}

std::vector<uint8_t> render_style_preview(const ss::Bitmap24& old_image,
                                          const ss::Bitmap24& new_image, int32_t style) {
  ss::Bitmap24 incoming = new_image;  // the engine may hand it to events as writable
  std::vector<ss::Bitmap24> frames(kStylePreviewFrames,
                                   ss::Bitmap24(old_image.width(), old_image.height()));
  {
    std::lock_guard lock(engine_mutex());
    ss::set_random_seed(0);
    for (int i = 0; i < kStylePreviewFrames; ++i) {
      ss::FrameInputs frame{old_image, incoming, frames[static_cast<size_t>(i)]};
      frame.style = style;
      frame.progress = i * 100 / (kStylePreviewFrames - 1);
      frame.step = 4;
      ss::UpdateFrame(frame);
    }
  }
  ss::GifEncoder gif(old_image.width(), old_image.height());
  for (int i = 0; i < kStylePreviewFrames; ++i) {
    dither_for_palette(frames[static_cast<size_t>(i)]);
    gif.add_frame(frames[static_cast<size_t>(i)],
                  i == 0 || i + 1 == kStylePreviewFrames ? kHoldCs : kFrameCs);
  }
  return gif.finish();
}

}  // namespace slidemake
