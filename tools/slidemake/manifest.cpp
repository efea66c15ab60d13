#include "manifest.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "media_kind.h"
#include "natural_order.h"
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

std::string entry_text(const json& value, const std::string& where) {
  if (!value.is_string() || value.get<std::string>().empty())
    fail(where, "expected a file path (a non-empty string)");
  return value.get<std::string>();
}

void add_entry(std::vector<PictureInput>& out, const std::string& entry, const fs::path& folder,
               const std::string& description, const Warn& warn) {
  for (const fs::path& file : expand_picture_entry(entry, folder, warn))
    out.push_back({file.string(), description});
}

std::vector<PictureInput> read_pictures(const json& root, const fs::path& folder,
                                        const Warn& warn) {
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
      std::string description;
      if (item.contains("description")) {
        if (!item["description"].is_string()) fail(where + ".description", "expected a string");
        description = item["description"].get<std::string>();
      }
      add_entry(out, entry_text(item["file"], where + ".file"), folder, description, warn);
    } else {
      add_entry(out, entry_text(item, where), folder, {}, warn);
    }
  }
  return out;
}

}  // namespace

ss::TSSFileLocations authoring_settings() {
  ss::TSSFileLocations s;
  s.Interval = 5000;
  s.lRandomStyle = true;
  s.lClearOldImage = true;
  s.lExitKeyPress = s.lExitMouseClick = s.lExitMouseMove = true;
  s.SoundRandom = 1;
  s.lSoundLoop = true;
  for (int style = 0; style < 127; ++style)
    s.EffectCommaList.items().push_back(std::to_string(style));
  return s;
}

Manifest load_manifest(const std::string& path, const Warn& warn) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open manifest \"" + path + "\"");
  json root;
  try {
    root = json::parse(in);
  } catch (const json::parse_error& e) {
    throw std::runtime_error("manifest \"" + path + "\" is not valid JSON: " + e.what());
  }
  if (!root.is_object()) throw std::runtime_error("manifest \"" + path + "\": expected an object");
  Manifest m = manifest_from_json(root, fs::absolute(path).parent_path(), warn);
  m.source = path;
  return m;
}

Manifest manifest_from_json(const json& root, const fs::path& folder, const Warn& warn) {
  if (!root.is_object()) throw std::runtime_error("manifest: expected an object");
  for (const auto& [key, value] : root.items())
    if (key != "pictures" && key != "music" && key != "movies" && key != "settings" &&
        key != "codepage")
      fail(key, "unknown key (expected pictures, music, movies, settings, codepage)");

  Manifest m;
  m.settings = authoring_settings();
  if (root.contains("codepage")) {
    if (!root["codepage"].is_number_integer())
      fail("codepage", "expected a code page number, e.g. 1250");
    m.code_page = root["codepage"].get<int>();
  }
  m.pictures = read_pictures(root, folder, warn);
  m.music = read_paths(root, "music", folder);
  m.movies = read_paths(root, "movies", folder);
  if (root.contains("settings")) apply_settings_json(root["settings"], m.settings);
  return m;
}

void check_manifest(const Manifest& manifest) {
  if (manifest.pictures.empty() && manifest.movies.empty())
    throw std::runtime_error(
        "pictures: the saver has no pictures to show; name some files or a folder");
  if (manifest.settings.Interval < 0)
    throw std::runtime_error("settings.Interval: " + std::to_string(manifest.settings.Interval) +
                             " is negative; it is the time per picture in milliseconds");
  const auto check = [](const std::vector<std::string>& files, const char* field, bool music) {
    for (size_t i = 0; i < files.size(); ++i) {
      std::ifstream in(files[i], std::ios::binary);
      std::array<uint8_t, 16> head{};
      in.read(reinterpret_cast<char*>(head.data()), head.size());
      const std::span<const uint8_t> got(head.data(), static_cast<size_t>(in.gcount()));
      if (!in && in.gcount() == 0)
        throw std::runtime_error(std::string(field) + "[" + std::to_string(i) +
                                 "]: cannot read \"" + files[i] + "\"");
      if (music ? !is_playable_music(got) : !is_playable_movie(got))
        throw std::runtime_error(
            std::string(field) + "[" + std::to_string(i) + "]: \"" + files[i] +
            (music ? "\" is not music the saver plays (WAV, MIDI, MP3, WMA or Ogg)"
                   : "\" is not a movie the saver plays (SWF)"));
    }
  };
  check(manifest.music, "music", true);
  check(manifest.movies, "movies", false);
}

Manifest manifest_from_folder(const std::string& folder, const Warn& warn) {
  Manifest m;
  m.source = folder;
  m.settings = authoring_settings();
  // Music is told by its contents; everything else goes to the pictures, which warn of the rest.
  std::vector<fs::path> files;
  for (const auto& item : fs::directory_iterator(folder))
    if (item.is_regular_file()) files.push_back(item.path());
  std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
    return natural_less(a.filename().string(), b.filename().string());
  });
  for (const fs::path& file : files)
    if (is_music_file(file)) m.music.push_back(file.lexically_normal().string());
  const auto is_music = [&](const std::string& path) {
    return std::find(m.music.begin(), m.music.end(), path) != m.music.end();
  };
  const Warn pictures_warn = [&](const std::string& message) {
    for (const std::string& music : m.music)
      if (message.starts_with("\"" + music + "\"")) return;
    if (warn) warn(message);
  };
  add_entry(m.pictures, folder, fs::current_path(), {}, pictures_warn);
  std::erase_if(m.pictures, [&](const PictureInput& p) { return is_music(p.path); });
  return m;
}

}  // namespace slidemake
