#include "platform/win32/dib_surface.h"

#include <cstring>

namespace ss {

BITMAPINFO top_down_dib_header(int32_t width, int32_t height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: the first row is the top one
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

DibSurface::DibSurface(const Bitmap24& image, const Rect& area)
    : area_(area), stride_((static_cast<size_t>(area.width()) * 3 + 3) & ~size_t{3}) {
  if (area.empty()) return;
  const BITMAPINFO info = top_down_dib_header(area.width(), area.height());
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  dc_ = CreateCompatibleDC(nullptr);
  if (bitmap_ == nullptr || dc_ == nullptr || bits == nullptr) return;
  old_bitmap_ = SelectObject(dc_, bitmap_);
  bits_ = static_cast<uint8_t*>(bits);
  const size_t bytes = static_cast<size_t>(area.width()) * 3;
  for (int32_t y = 0; y < area.height(); ++y)
    std::memcpy(bits_ + y * stride_, image.row(area.top + y) + area.left * 3, bytes);
}

DibSurface::~DibSurface() {
  if (dc_ != nullptr) {
    if (old_bitmap_ != nullptr) SelectObject(dc_, old_bitmap_);
    DeleteDC(dc_);
  }
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

void DibSurface::store(Bitmap24& image) {
  if (!valid()) return;
  GdiFlush();  // GDI may still be drawing into the section
  const size_t bytes = static_cast<size_t>(area_.width()) * 3;
  for (int32_t y = 0; y < area_.height(); ++y)
    std::memcpy(image.row(area_.top + y) + area_.left * 3, bits_ + y * stride_, bytes);
}

}  // namespace ss
