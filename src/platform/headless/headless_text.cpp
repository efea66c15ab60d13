#include "platform/headless/headless_text.h"

#include <algorithm>
#include <limits>

#include "platform/headless/bitmap_font.h"

namespace ss {
namespace {

// Heights beyond this are drawn at this size: nothing on a screen needs more.
constexpr int64_t kMaxCellHeight = 4096;
constexpr int32_t kDefaultCharacterHeight = 11;

int64_t rounded_ratio(int64_t value, int64_t numerator, int64_t denominator) {
  return (value * numerator + denominator / 2) / denominator;
}

}  // namespace

TextExtent HeadlessTextRenderer::cell_size(int32_t height) {
  using bitmap_font::kCellHeight;
  using bitmap_font::kCellWidth;
  using bitmap_font::kGlyphHeight;
  if (height == 0) height = -kDefaultCharacterHeight;
  int64_t cell_height = height;
  if (height < 0) cell_height = rounded_ratio(-int64_t{height}, kCellHeight, kGlyphHeight);
  cell_height = std::clamp<int64_t>(cell_height, 1, kMaxCellHeight);
  const int64_t cell_width =
      std::max<int64_t>(1, rounded_ratio(cell_height, kCellWidth, kCellHeight));
  return {static_cast<int32_t>(cell_width), static_cast<int32_t>(cell_height)};
}

TextExtent HeadlessTextRenderer::measure(const std::string& text, const TextFontSpec& font) {
  const TextExtent cell = cell_size(font.height);
  const int64_t width = static_cast<int64_t>(text.size()) * cell.cx;
  return {static_cast<int32_t>(std::min<int64_t>(width, std::numeric_limits<int32_t>::max())),
          cell.cy};
}

void HeadlessTextRenderer::draw(Bitmap24& dst, int32_t x, int32_t y, const std::string& text,
                                const TextFontSpec& font) {
  log_.add("text.draw " + format_point({x, y}) + " " + text);
  const TextExtent cell = cell_size(font.height);
  const Color color = resolve_color(font.color);
  const int64_t top = std::max<int64_t>(y, 0);
  const int64_t bottom = std::min<int64_t>(int64_t{y} + cell.cy, dst.height());
  for (size_t i = 0; i < text.size(); ++i) {
    const int64_t cell_left = x + static_cast<int64_t>(i) * cell.cx;
    if (cell_left >= dst.width()) break;
    const int64_t left = std::max<int64_t>(cell_left, 0);
    const int64_t right = std::min<int64_t>(cell_left + cell.cx, dst.width());
    const auto c = static_cast<unsigned char>(text[i]);
    for (int64_t py = top; py < bottom; ++py) {
      const auto row = static_cast<int32_t>((py - y) * bitmap_font::kCellHeight / cell.cy);
      for (int64_t px = left; px < right; ++px) {
        const auto column =
            static_cast<int32_t>((px - cell_left) * bitmap_font::kCellWidth / cell.cx);
        if (bitmap_font::dot(c, column, row))
          dst.set_pixel(static_cast<int32_t>(px), static_cast<int32_t>(py), color);
      }
    }
  }
}

}  // namespace ss
