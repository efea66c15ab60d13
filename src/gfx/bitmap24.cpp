#include "gfx/bitmap24.h"

#include <cstring>

namespace ss {

void Bitmap24::resize(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) width = height = 0;
  width_ = width;
  height_ = height;
  stride_ = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  pixels_.assign(stride_ * static_cast<size_t>(height), 0);
}

Color Bitmap24::pixel(int32_t x, int32_t y) const {
  const uint8_t* p = row(y) + static_cast<size_t>(x) * 3;
  return rgb(p[2], p[1], p[0]);
}

void Bitmap24::set_pixel(int32_t x, int32_t y, Color c) {
  uint8_t* p = row(y) + static_cast<size_t>(x) * 3;
  p[0] = color_blue(c);
  p[1] = color_green(c);
  p[2] = color_red(c);
}

bool operator==(const Bitmap24& a, const Bitmap24& b) {
  if (a.width_ != b.width_ || a.height_ != b.height_) return false;
  const size_t row_bytes = static_cast<size_t>(a.width_) * 3;
  for (int32_t y = 0; y < a.height_; ++y)
    if (std::memcmp(a.row(y), b.row(y), row_bytes) != 0) return false;
  return true;
}

}  // namespace ss
