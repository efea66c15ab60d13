#include "platform/win32/win32_preview_target.h"

#include <windows.h>

#include "platform/win32/dib_surface.h"

namespace ss {
namespace {

HWND as_window(intptr_t window) {
  return reinterpret_cast<HWND>(window);
}

}  // namespace

bool Win32PreviewTarget::is_visible(intptr_t window) {
  // A destroyed window tests as not visible.
  return IsWindowVisible(as_window(window)) != 0;
}

Rect Win32PreviewTarget::window_rect(intptr_t window) {
  RECT r = {};
  if (!GetWindowRect(as_window(window), &r)) return {};
  return {r.left, r.top, r.right, r.bottom};
}

void Win32PreviewTarget::draw(intptr_t window, const Bitmap24& image) {
  if (image.empty()) return;
  const HDC dc = GetDC(as_window(window));
  if (dc == nullptr) return;
  const BITMAPINFO info = top_down_dib_header(image.width(), image.height());
  // The device context clips to the window.
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(image.width()), static_cast<DWORD>(image.height()),
                    0, 0, 0, static_cast<UINT>(image.height()), image.data(), &info,
                    DIB_RGB_COLORS);
  ReleaseDC(as_window(window), dc);
}

}  // namespace ss
