#pragma once
// Shared helpers of the transition tests: recognisable image pairs, one-call frame composition
// with a record of what the frame did, transposition and a frame hash.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "gfx/bitmap24.h"
#include "gfx/geometry.h"
#include "effects/update_frame.h"

namespace ss {
inline void PrintTo(const Rect& r, std::ostream* os) {
  *os << "[" << r.left << ", " << r.right << "] x [" << r.top << ", " << r.bottom << "]";
}
}  // namespace ss

namespace ss::testing {

// The old image has blue below 100 everywhere and the new image blue of 150 and more, so every
// pixel of a frame tells where it came from. Red and green vary with x and y.
Bitmap24 MakeOldImage(int32_t width, int32_t height);
Bitmap24 MakeNewImage(int32_t width, int32_t height);
bool FromNewImage(const Bitmap24& frame, int32_t x, int32_t y);
int32_t CountFromNewImage(const Bitmap24& frame);

Bitmap24 Transpose(const Bitmap24& image);

// FNV-1a over the visible bytes of every row.
uint64_t HashFrame(const Bitmap24& frame);

struct ComposedFrame {
  Bitmap24 screen;
  FrameOutcome outcome;
  std::vector<Rect> invalidated;   // in call order
  std::vector<std::string> calls;  // "before", "custom", "invalidate", "after"
};

// Composes one frame of `style` at `progress` with Step 4; with_custom_draw installs a style-0
// handler that fills the screen with one colour.
ComposedFrame Compose(const Bitmap24& old_image, const Bitmap24& new_image, int32_t style,
                      int32_t progress, bool with_custom_draw = false);

inline constexpr Color kCustomColour = rgb(1, 2, 3);

}  // namespace ss::testing
