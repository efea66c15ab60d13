#pragma once
// "WIDTHxHEIGHT" as people write it on a command line ("640x480", "1920X1080").
#include <cstdint>
#include <optional>
#include <string_view>

#include "gfx/geometry.h"

namespace ss {

// Both sides decimal, from 1 to max_side; nothing for anything else.
std::optional<Point> parse_size(std::string_view text, int32_t max_side);

}  // namespace ss
