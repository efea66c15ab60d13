#pragma once
// The small looping preview of one transition style, composed by the runtime's own engine from
// two pictures, as an animated GIF.
#include <cstdint>
#include <mutex>
#include <vector>

#include "gfx/bitmap24.h"

namespace slidemake {

inline constexpr int kStylePreviewFrames = 25;

// The engine draws from the one process-wide random generator, so compositions (previews and
// recorded shows) take turns; each starts from the seed a fresh saver starts with.
std::mutex& engine_mutex();

// Both pictures must be of one size, which is the preview's size.
std::vector<uint8_t> render_style_preview(const ss::Bitmap24& old_image,
                                          const ss::Bitmap24& new_image, int32_t style);

}  // namespace slidemake
