#pragma once
// The built-in font of the headless text renderer: printable ASCII in 5 x 7 dots, each glyph
// in a cell of 6 x 8 (one column and one row of spacing). Other bytes draw as a hollow box.
#include <cstdint>

namespace ss::bitmap_font {

inline constexpr int32_t kGlyphWidth = 5;
inline constexpr int32_t kGlyphHeight = 7;
inline constexpr int32_t kCellWidth = 6;
inline constexpr int32_t kCellHeight = 8;

// True when dot (column, row) of the glyph of c is set; out-of-glyph positions are clear.
bool dot(unsigned char c, int32_t column, int32_t row);

}  // namespace ss::bitmap_font
