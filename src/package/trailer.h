#pragma once
// The package trailer: the last 40 bytes of a saver file, two 20-byte decimal fields. Field 1
// holds the package length L (the package starts at file size − 40 − L), field 2 the offset of
// the settings item.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/byte_source.h"

namespace ss {

inline constexpr int64_t kTrailerSize = 40;
inline constexpr int64_t kTrailerFieldSize = 20;

// The field's text without blanks and control characters (NUL too) at either end, as a signed
// 32-bit decimal; anything else reads as 0.
int32_t parse_trailer_field(std::string_view field);

// Reads the 20-byte field at `offset`; std::nullopt when it cannot be read whole.
std::optional<int32_t> read_trailer_field(ByteSource& file, int64_t offset);
std::optional<int32_t> read_package_length(ByteSource& file);
std::optional<int32_t> read_settings_offset(ByteSource& file);
// P = file size − 40 − field 1, in 64 bits; not checked against anything else.
std::optional<int64_t> find_package_start(ByteSource& file);

// The value as decimal digits padded with spaces to 20 bytes.
std::string format_trailer_field(int64_t value);
// Both fields: the 40 bytes that end a saver file.
std::string format_trailer(int64_t package_length, int64_t settings_offset);

}  // namespace ss
