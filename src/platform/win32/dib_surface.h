#pragma once
// GDI drawing onto part of our bitmap: the area is copied into a 24-bit top-down DIB section
// selected into a memory device context, GDI draws there, and the rows are copied back. Our
// rows and the DIB's have the same layout (blue, green, red; padded to four bytes).
#include <windows.h>

#include "gfx/bitmap24.h"
#include "gfx/geometry.h"

namespace ss {

// The header that describes rows of a 24-bit bitmap `width` wide, `height` rows top-down.
BITMAPINFO top_down_dib_header(int32_t width, int32_t height);

class DibSurface {
 public:
  // A copy of `area` of `image` (which must lie inside it) to draw on.
  DibSurface(const Bitmap24& image, const Rect& area);
  ~DibSurface();
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  // False when GDI could not make the section; drawing then changes nothing.
  bool valid() const { return bits_ != nullptr; }
  // Device coordinates: (0, 0) is the area's top-left corner.
  HDC dc() const { return dc_; }
  // Writes the drawn area back to image at the area it was taken from.
  void store(Bitmap24& image);

 private:
  Rect area_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  uint8_t* bits_ = nullptr;
  size_t stride_ = 0;
};

}  // namespace ss
