#pragma once
// Colours are 32-bit values: 00BBGGRR for ordinary colours, FF0000nn for system colour nn.
#include <cstdint>

namespace ss {

using Color = int32_t;

inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;
// The system colour of window text, the default of every font.
inline constexpr Color kClWindowText = static_cast<Color>(0xFF000008);

constexpr uint8_t color_red(Color c) {
  return static_cast<uint8_t>(c & 0xFF);
}
constexpr uint8_t color_green(Color c) {
  return static_cast<uint8_t>((c >> 8) & 0xFF);
}
constexpr uint8_t color_blue(Color c) {
  return static_cast<uint8_t>((c >> 16) & 0xFF);
}
constexpr Color rgb(uint8_t r, uint8_t g, uint8_t b) {
  return r | (g << 8) | (b << 16);
}
constexpr bool is_system_color(Color c) {
  return (static_cast<uint32_t>(c) & 0xFF000000u) == 0xFF000000u;
}

// System colours resolve to the classic defaults where no platform answers for them.
Color resolve_color(Color c);

}  // namespace ss
