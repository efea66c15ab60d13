#pragma once
// The settings item of a package: a TSSFileLocations written as a property stream.
#include <cstdint>
#include <vector>

#include "package/ss_file_locations.h"

namespace ss {

// Properties in declaration order. Integers and booleans are always written; texts and comma
// lists only when not empty; the font as Charset, Color, Height, Name, [Pitch,] Style, with
// Pitch only when not fpDefault and charset and colour as identifiers where the tables have
// them.
std::vector<uint8_t> write_settings_stream(const TSSFileLocations& settings);

}  // namespace ss
