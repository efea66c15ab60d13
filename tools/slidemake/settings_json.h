#pragma once
// Settings in the manifest and in `inspect --json`, named exactly as the record's properties.
#include <nlohmann/json.hpp>

#include "package/ss_file_locations.h"

namespace slidemake {

// Applies a manifest's "settings" object to a record. Unknown names, wrong types and the location
// lists (which the build computes from the files) are errors naming the setting.
void apply_settings_json(const nlohmann::json& settings, ss::TSSFileLocations& record);

// Every property of the record: lists as arrays of strings, the font's Color and Charset as
// integers and its Style as an array of names.
nlohmann::ordered_json settings_to_json(const ss::TSSFileLocations& record);

}  // namespace slidemake
