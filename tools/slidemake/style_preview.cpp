#include "style_preview.h"

#include "base/random.h"
#include "common/gif_encoder.h"
#include "effects/update_frame.h"

namespace slidemake {
namespace {

// The old picture stands, the transition plays in about a second, the new picture stands.
constexpr uint16_t kHoldCs = 70;
constexpr uint16_t kFrameCs = 4;

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
    gif.add_frame(frames[static_cast<size_t>(i)],
                  i == 0 || i + 1 == kStylePreviewFrames ? kHoldCs : kFrameCs);
  }
  return gif.finish();
}

}  // namespace slidemake
