#include "gfx/color.h"

#include <array>

namespace ss {

Color resolve_color(Color c) {
  if (!is_system_color(c)) return c & 0xFFFFFF;
  // The classic system palette, by index.
  static constexpr std::array<Color, 31> kSystem = {
      0xC8D0D4, 0x984E00, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
      0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
      0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
      0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6, 0xC0C0C0, 0x6A240A, 0xC8D0D4};
  const uint32_t index = static_cast<uint32_t>(c) & 0xFF;
  return index < kSystem.size() ? kSystem[index] : 0;
}

}  // namespace ss
