#pragma once
// Small text conversions that several readers share.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ss {

// An optional sign followed by decimal digits, nothing else, within the 32-bit signed range.
std::optional<int32_t> parse_int32(std::string_view text);

// Strips leading and trailing characters whose code is 32 or less (blanks, controls, NUL).
std::string_view trim_blanks(std::string_view text);

// ASCII-only case folding: the system compares names and switches this way.
std::string ascii_upper(std::string_view text);
std::string ascii_lower(std::string_view text);
bool iequals(std::string_view a, std::string_view b);

}  // namespace ss
