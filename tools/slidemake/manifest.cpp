#include "manifest.h"

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "settings_json.h"

namespace slidemake {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

[[noreturn]] void fail(const std::string& where, const std::string& what) {
  throw std::runtime_error(where + ": " + what);
}

std::string resolve(const fs::path& folder, const json& value, const std::string& where) {
  if (!value.is_string() || value.get<std::string>().empty())
    fail(where, "expected a file path (a non-empty string)");
  const fs::path p = fs::path(value.get<std::string>());
  return (p.is_absolute() ? p : folder / p).lexically_normal().string();
}

std::vector<std::string> read_paths(const json& root, const char* key, const fs::path& folder) {
  std::vector<std::string> out;
  if (!root.contains(key)) return out;
  const json& list = root[key];
  if (!list.is_array()) fail(key, "expected an array of file paths");
  for (size_t i = 0; i < list.size(); ++i)
    out.push_back(resolve(folder, list[i], std::string(key) + "[" + std::to_string(i) + "]"));
  return out;
}

std::vector<PictureInput> read_pictures(const json& root, const fs::path& folder) {
  std::vector<PictureInput> out;
  if (!root.contains("pictures")) return out;
  const json& list = root["pictures"];
  if (!list.is_array()) fail("pictures", "expected an array of file paths or objects");
  for (size_t i = 0; i < list.size(); ++i) {
    const std::string where = "pictures[" + std::to_string(i) + "]";
    const json& item = list[i];
    if (item.is_object()) {
      for (const auto& [key, value] : item.items())
        if (key != "file" && key != "description")
          fail(where, "unknown key \"" + key + "\" (expected \"file\" and \"description\")");
      if (!item.contains("file")) fail(where, "missing \"file\"");
      PictureInput input{resolve(folder, item["file"], where + ".file"), {}};
      if (item.contains("description")) {
        if (!item["description"].is_string()) fail(where + ".description", "expected a string");
        input.description = item["description"].get<std::string>();
      }
      out.push_back(std::move(input));
    } else {
      out.push_back({resolve(folder, item, where), {}});
    }
  }
  return out;
}

}  // namespace

Manifest load_manifest(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open manifest \"" + path + "\"");
  json root;
  try {
    root = json::parse(in);
  } catch (const json::parse_error& e) {
    throw std::runtime_error("manifest \"" + path + "\" is not valid JSON: " + e.what());
  }
  if (!root.is_object()) throw std::runtime_error("manifest \"" + path + "\": expected an object");
  return manifest_from_json(root, fs::absolute(path).parent_path());
}

Manifest manifest_from_json(const json& root, const fs::path& folder) {
  if (!root.is_object()) throw std::runtime_error("manifest: expected an object");
  for (const auto& [key, value] : root.items())
    if (key != "pictures" && key != "music" && key != "movies" && key != "settings")
      fail(key, "unknown key (expected pictures, music, movies, settings)");

  Manifest m;
  m.pictures = read_pictures(root, folder);
  m.music = read_paths(root, "music", folder);
  m.movies = read_paths(root, "movies", folder);
  if (root.contains("settings")) apply_settings_json(root["settings"], m.settings);
  return m;
}

}  // namespace slidemake
