#pragma once
// One line of caption text, measured and drawn onto our bitmap by the platform's font engine.
// Only the face name, the height and the colour are given: the weight stays regular.
#include <cstdint>
#include <string>

#include "gfx/bitmap24.h"
#include "gfx/color.h"

namespace ss {

struct TextFontSpec {
  std::string face;
  // Negative: character height without internal leading; positive: cell height (pixels).
  int32_t height = -11;
  Color color = 0;
  // The font's charset, which also names the code page the text's bytes are in.
  int32_t charset = 1;  // DEFAULT_CHARSET
};

struct TextExtent {
  int32_t cx = 0;
  int32_t cy = 0;
};

class TextRenderer {
 public:
  virtual ~TextRenderer() = default;
  virtual TextExtent measure(const std::string& text, const TextFontSpec& font) = 0;
  // Draws with a clear background at (x, y), the top-left of the text cell; clipped to dst.
  virtual void draw(Bitmap24& dst, int32_t x, int32_t y, const std::string& text,
                    const TextFontSpec& font) = 0;
};

}  // namespace ss
