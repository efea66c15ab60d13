#include "gfx/size_text.h"

#include "base/text.h"

namespace ss {

std::optional<Point> parse_size(std::string_view text, int32_t max_side) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string_view::npos) return std::nullopt;
  const std::optional<int32_t> width = parse_int32(text.substr(0, x));
  const std::optional<int32_t> height = parse_int32(text.substr(x + 1));
  if (!width || !height) return std::nullopt;
  if (*width < 1 || *height < 1 || *width > max_side || *height > max_side) return std::nullopt;
  return Point{*width, *height};
}

}  // namespace ss
