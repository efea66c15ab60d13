#pragma once
// The foreign window that preview mode paints into, known only by its handle.
#include <cstdint>

#include "gfx/bitmap24.h"
#include "gfx/geometry.h"

namespace ss {

class PreviewTarget {
 public:
  virtual ~PreviewTarget() = default;
  virtual bool is_visible(intptr_t window) = 0;
  // The window's rectangle in screen coordinates.
  virtual Rect window_rect(intptr_t window) = 0;
  // Draws image at the window's top-left corner, clipped to the window.
  virtual void draw(intptr_t window, const Bitmap24& image) = 0;
};

}  // namespace ss
