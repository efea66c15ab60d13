#pragma once
// The JSON manifest that describes a saver: its pictures, music, movies and settings.
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

}  // namespace slidemake
