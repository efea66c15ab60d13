#pragma once
// Caption text through GDI: the face and height given, regular weight, drawn with a clear
// background into a copy of the text's cell of our bitmap.
#include "platform/text_renderer.h"

namespace ss {

class Win32TextRenderer final : public TextRenderer {
 public:
  TextExtent measure(const std::string& text, const TextFontSpec& font) override;
  void draw(Bitmap24& dst, int32_t x, int32_t y, const std::string& text,
            const TextFontSpec& font) override;
};

}  // namespace ss
