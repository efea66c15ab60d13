#include "platform/win32/setup_look.h"

#include <algorithm>
#include <climits>
#include <string>

#include "platform/core/setup_geometry.h"

namespace ss {
namespace {

HFONT create_font(const SetupFont& font, int dpi) {
  const std::string face(font.face);
  // The layout's heights are pixels at the designed resolution, scaled as the window is.
  return CreateFontA(scaled_for_dpi(font.height, dpi), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
                     FALSE, font.underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);

GetDpiForWindowCall get_dpi_for_window() {
  static const auto call = [] {
    const HMODULE user = GetModuleHandleA("user32.dll");
    return user == nullptr ? nullptr
                           : reinterpret_cast<GetDpiForWindowCall>(
                                 reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
  }();
  return call;
}

}  // namespace

int window_dpi(HWND window) {
  if (const GetDpiForWindowCall call = get_dpi_for_window()) {
    const UINT dpi = call(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  const HDC screen = GetDC(nullptr);
  const int dpi = screen == nullptr ? 0 : GetDeviceCaps(screen, LOGPIXELSY);
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignedDpi;
}

COLORREF colorref_of(Color color) {
  if (is_system_color(color)) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

SetupFonts::SetupFonts(const SetupDialogLayout& layout, int dpi)
    : form_font_(create_font(layout.font, dpi)) {
  fonts_.reserve(layout.controls.size());
  for (const SetupControlLayout& control : layout.controls)
    fonts_.push_back(create_font(control.font, dpi));
}

SetupFonts::~SetupFonts() {
  for (HFONT font : fonts_)
    if (font != nullptr) DeleteObject(font);
  if (form_font_ != nullptr) DeleteObject(form_font_);
}

Point label_text_size(HWND label, HFONT font, const std::string& text) {
  if (text.empty()) return {};
  HDC device = GetDC(label);
  if (device == nullptr) return {};
  const HGDIOBJ previous = SelectObject(device, font);
  RECT extent = {0, 0, 0, 0};
  const int length = static_cast<int>(std::min<size_t>(text.size(), INT_MAX));
  DrawTextA(device, text.c_str(), length, &extent, DT_CALCRECT | DT_SINGLELINE | DT_LEFT | DT_TOP);
  SelectObject(device, previous);
  ReleaseDC(label, device);
  return {extent.right - extent.left, extent.bottom - extent.top};
}

}  // namespace ss
