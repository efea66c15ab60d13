#pragma once
// The property table of TSSFileLocations: every setting, and the caption font's attributes
// reached as "TextFont.<attribute>".
#include <span>
#include <string_view>

#include "package/property_table.h"
#include "package/ss_file_locations.h"

namespace ss {

inline constexpr std::string_view kSettingsClassName = "TSSFileLocations";

// Member names of TextFont.Pitch and TextFont.Style, in value and bit order.
std::span<const std::string_view> font_pitch_names();
std::span<const std::string_view> font_style_names();

std::span<const PropertyEntry<TSSFileLocations>> settings_properties();

}  // namespace ss
