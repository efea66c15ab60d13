#include "platform/win32/win32_text_renderer.h"

#include <windows.h>

#include "platform/win32/dib_surface.h"

namespace ss {
namespace {

// A font selected into a device context for as long as this lives.
class SelectedFont {
 public:
  SelectedFont(HDC dc, const TextFontSpec& font)
      : dc_(dc),
        font_(CreateFontA(font.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                          static_cast<BYTE>(font.charset),
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, font.face.c_str())),
        old_font_(font_ != nullptr ? SelectObject(dc, font_) : nullptr) {}
  ~SelectedFont() {
    if (old_font_ != nullptr) SelectObject(dc_, old_font_);
    if (font_ != nullptr) DeleteObject(font_);
  }
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_font_;
};

int text_length(const std::string& text) {
  return text.size() > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(text.size());
}

}  // namespace

TextExtent Win32TextRenderer::measure(const std::string& text, const TextFontSpec& font) {
  const HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return {};
  TextExtent extent;
  {
    SelectedFont selected(dc, font);
    SIZE size = {};
    if (GetTextExtentPoint32A(dc, text.c_str(), text_length(text), &size))
      extent = {static_cast<int32_t>(size.cx), static_cast<int32_t>(size.cy)};
  }
  DeleteDC(dc);
  return extent;
}

void Win32TextRenderer::draw(Bitmap24& dst, int32_t x, int32_t y, const std::string& text,
                             const TextFontSpec& font) {
  const TextExtent extent = measure(text, font);
  const Rect cell{x, y, x + extent.cx, y + extent.cy};
  const Rect area = cell.intersect(dst.bounds());
  if (area.empty()) return;
  DibSurface surface(dst, area);
  if (!surface.valid()) return;
  {
    SelectedFont selected(surface.dc(), font);
    SetBkMode(surface.dc(), TRANSPARENT);
    SetTextColor(surface.dc(), static_cast<COLORREF>(resolve_color(font.color) & 0xFFFFFF));
    TextOutA(surface.dc(), x - area.left, y - area.top, text.c_str(), text_length(text));
  }
  surface.store(dst);
}

}  // namespace ss
