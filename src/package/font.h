#pragma once
// The caption font of a saver: the attributes the settings record carries for it.
#include <cstdint>
#include <string>

#include "gfx/color.h"

namespace ss {

enum class TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };

// Bits of TFont::Style.
enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

inline constexpr int32_t kDefaultCharset = 1;

struct TFont {
  int32_t Charset = kDefaultCharset;
  ss::Color Color = kClWindowText;
  // Negative: character height without internal leading; positive: cell height (pixels).
  int32_t Height = -11;  // 8 points at 96 pixels per inch
  std::string Name = "MS Sans Serif";
  TFontPitch Pitch = TFontPitch::fpDefault;
  uint8_t Style = 0;  // TFontStyle bits
  // The screen's resolution when the font was created; Size converts through it.
  int32_t PixelsPerInch = 96;

  // Size in points: -(Height × 72 ÷ ppi) to the nearest whole number, and the reverse.
  int32_t Size() const;
  void SetSize(int32_t points);

  friend bool operator==(const TFont&, const TFont&) = default;
};

}  // namespace ss
