#include "platform/core/clipped_canvas.h"

#include <cstring>

namespace ss {

void ClippedCanvas::copy_from(const Bitmap24& image) {
  const Rect target = clip_.intersect(image.bounds().offset(area_.left, area_.top));
  if (target.empty()) return;
  const size_t bytes = static_cast<size_t>(target.width()) * 3;
  for (int32_t y = target.top; y < target.bottom; ++y) {
    const uint8_t* from =
        image.row(y - area_.top) + static_cast<size_t>(target.left - area_.left) * 3;
    std::memcpy(surface_.row(y) + static_cast<size_t>(target.left) * 3, from, bytes);
  }
}

}  // namespace ss
