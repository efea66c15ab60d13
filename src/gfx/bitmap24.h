#pragma once
// Our 24-bit picture and frame type: rows of blue, green, red bytes with direct row access.
// Rows are padded to four bytes and stored top-down, so a backend can present them as-is.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/color.h"
#include "gfx/geometry.h"

namespace ss {

class Bitmap24 {
 public:
  Bitmap24() = default;
  Bitmap24(int32_t width, int32_t height) { resize(width, height); }

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  bool empty() const { return width_ <= 0 || height_ <= 0; }
  Rect bounds() const { return {0, 0, width_, height_}; }
  size_t stride() const { return stride_; }

  // Sets a new size; the content becomes black. Negative sizes count as 0.
  void resize(int32_t width, int32_t height);

  uint8_t* row(int32_t y) { return pixels_.data() + static_cast<size_t>(y) * stride_; }
  const uint8_t* row(int32_t y) const { return pixels_.data() + static_cast<size_t>(y) * stride_; }
  uint8_t* data() { return pixels_.data(); }
  const uint8_t* data() const { return pixels_.data(); }

  Color pixel(int32_t x, int32_t y) const;
  void set_pixel(int32_t x, int32_t y, Color c);

  friend bool operator==(const Bitmap24& a, const Bitmap24& b);

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  size_t stride_ = 0;
  std::vector<uint8_t> pixels_;
};

}  // namespace ss
