#pragma once
// The JSON manifest that describes a saver: its pictures, music, movies and settings.
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "package/ss_file_locations.h"

namespace slidemake {

struct PictureInput {
  std::string path;  // resolved against the manifest's folder
  std::string description;
};

struct Manifest {
  std::vector<PictureInput> pictures;
  std::vector<std::string> music;
  std::vector<std::string> movies;
  // Everything but the location lists, which the build computes from the files.
  ss::TSSFileLocations settings;
};

// Reads and checks a manifest; errors name the field and say what is wrong.
Manifest load_manifest(const std::string& path);
// The same checks on a parsed document; relative paths are resolved against `folder`.
Manifest manifest_from_json(const nlohmann::json& root, const std::filesystem::path& folder);

}  // namespace slidemake
