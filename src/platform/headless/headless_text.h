#pragma once
// Text without system fonts: the built-in 5 x 7 font scaled to the requested height. A
// negative height is the character height (the seven glyph rows), a positive one the cell
// height (glyph plus one row of leading); 0 takes the default of 11 pixels of character. Cells
// are three quarters as wide as they are high, so the extent of a text is its length times the
// cell width by the cell height, whatever the face. Drawing leaves the background alone.
#include <cstdint>
#include <string>

#include "platform/headless/call_log.h"
#include "platform/text_renderer.h"

namespace ss {

class HeadlessTextRenderer final : public TextRenderer {
 public:
  explicit HeadlessTextRenderer(CallLog& log) : log_(log) {}

  TextExtent measure(const std::string& text, const TextFontSpec& font) override;
  void draw(Bitmap24& dst, int32_t x, int32_t y, const std::string& text,
            const TextFontSpec& font) override;

  // The cell of one character for a font height.
  static TextExtent cell_size(int32_t height);

 private:
  CallLog& log_;
};

}  // namespace ss
