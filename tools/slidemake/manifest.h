#pragma once
// The JSON manifest that describes a saver: its pictures, music, movies and settings.
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "package/ss_file_locations.h"
#include "picture_ingest.h"

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
  // The manifest file, or the folder the manifest was made from: an input like the others.
  std::string source;
  std::optional<int> code_page;  // "codepage": the ANSI code page of the saver's texts
};

// The settings of a saver whose manifest names none: a show that moves on every five seconds
// through every style, plays its music in a loop and ends on a key, a click or a mouse move.
ss::TSSFileLocations authoring_settings();

// Reads and checks a manifest; errors name the field and say what is wrong. A `pictures` entry
// may name a folder or a glob; files in them that are no picture are skipped with a warning.
Manifest load_manifest(const std::string& path, const Warn& warn = {});
// The same checks on a parsed document; relative paths are resolved against `folder`.
Manifest manifest_from_json(const nlohmann::json& root, const std::filesystem::path& folder,
                            const Warn& warn = {});

// Refuses a manifest that would make a saver that cannot work: no pictures (and no movie), a
// negative interval, music or movies whose contents the saver cannot play. Errors name the field.
void check_manifest(const Manifest& manifest);

// A manifest for a folder: its pictures in natural name order and its music, with the
// authoring settings.
Manifest manifest_from_folder(const std::string& folder, const Warn& warn = {});

}  // namespace slidemake
