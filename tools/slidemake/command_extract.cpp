#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>

#include "base/path.h"
#include "base/text.h"
#include "command_line.h"
#include "commands.h"
#include "media_kind.h"
#include "package/safe_file_name.h"
#include "platform/files.h"
#include "saver_contents.h"
#include "settings_json.h"

namespace slidemake {
namespace {

namespace fs = std::filesystem;

void save(const fs::path& path, std::span<const uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write \"" + path.string() + "\"");
}

// A name from the package is only used when it is one plain file name; otherwise a generated one.
// Names are made distinct (case aside), so that no item overwrites another.
class OutputNames {
 public:
  std::string take(const std::string& recorded, const std::string& fallback,
                   std::string_view ext = {}) {
    const std::string base = ss::file_name_of(recorded);
    fs::path name = ss::is_safe_file_name(base) ? base : fallback;
    if (!ext.empty() && name.extension().string() != ext) name.replace_extension(ext);
    std::string candidate = name.string();
    for (int n = 2; !taken_.insert(ss::ascii_lower(candidate)).second; ++n)
      candidate = name.stem().string() + "-" + std::to_string(n) + name.extension().string();
    return candidate;
  }

 private:
  std::set<std::string> taken_;
};

// The manifest that builds the saver again from the extracted files.
nlohmann::ordered_json rebuild_manifest(
    const SaverContents& c, const std::vector<std::pair<std::string, std::string>>& pictures,
    const std::vector<std::string>& music, const std::vector<std::string>& movies) {
  nlohmann::ordered_json m;
  const int code_page = ss::code_page_for_charset(c.settings.TextFont.Charset);
  if (code_page != 1252) m["codepage"] = code_page;
  m["pictures"] = nlohmann::ordered_json::array();
  for (const auto& [file, description] : pictures) {
    if (description.empty())
      m["pictures"].push_back(file);
    else
      m["pictures"].push_back({{"file", file}, {"description", description}});
  }
  m["music"] = music;
  m["movies"] = movies;
  nlohmann::ordered_json settings;
  const nlohmann::ordered_json all = settings_to_json(c.settings);
  for (const auto& [key, value] : all.items())
    if (!key.ends_with("CommaList") || key == "EffectCommaList") settings[key] = value;
  // The style list is stored as texts; a manifest names the styles by number.
  settings["EffectCommaList"] = nlohmann::ordered_json::array();
  for (int32_t i = 0; i < c.settings.EffectCommaList.count(); ++i)
    settings["EffectCommaList"].push_back(c.settings.EffectCommaList.integer(i));
  m["settings"] = settings;
  return m;
}

}  // namespace

int run_extract(const Args& args) {
  std::string path, dir;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-d" && i + 1 < args.size())
      dir = args[++i];
    else if (path.empty() && !args[i].starts_with("-"))
      path = args[i];
    else
      throw std::runtime_error("usage: slidemake extract SAVER -d DIR");
  }
  if (path.empty() || dir.empty())
    throw std::runtime_error("usage: slidemake extract SAVER -d DIR");
  fs::create_directories(dir);

  SaverContents c = read_saver_contents(path);
  decode_saver_texts(c);
  for (const std::string& w : c.warnings) std::fprintf(stderr, "warning: %s\n", w.c_str());
  int written = 0, failed = 0;
  OutputNames names;
  std::vector<std::pair<std::string, std::string>> picture_names;  // file, description
  std::vector<std::string> music_names, movie_names;
  for (size_t i = 0; i < c.pictures.size(); ++i) {
    const ItemInfo& item = c.pictures[i];
    if (!item.readable) {
      ++failed;
      continue;
    }
    const RawPicture raw = read_raw_picture(path, item.offset);
    const std::string ext(extension_for_graphic_class(raw.graphic_class, raw.data));
    const std::string name = names.take(item.name, "picture-" + std::to_string(i) + ext, ext);
    save(fs::path(dir) / name, raw.data);
    const ss::CommaList& descriptions = c.settings.DescriptCommaList;
    const auto at = static_cast<int32_t>(i);
    picture_names.push_back({name, at < descriptions.count() ? descriptions.text(at) : ""});
    ++written;
  }
  auto copy_media = [&](const std::vector<ItemInfo>& items, const char* kind,
                        std::vector<std::string>& written_names) {
    auto file = ss::native_file_system().open_read_deny_write(path);
    std::vector<uint8_t> buffer;
    for (size_t i = 0; i < items.size(); ++i) {
      const ItemInfo& item = items[i];
      if (!item.readable) {
        ++failed;
        continue;
      }
      buffer.resize(static_cast<size_t>(item.size));
      file->seek(item.offset);
      if (file->read(buffer.data(), buffer.size()) != buffer.size()) {
        ++failed;
        continue;
      }
      const std::string name = names.take(item.name, std::string(kind) + "-" + std::to_string(i));
      save(fs::path(dir) / name, buffer);
      written_names.push_back(name);
      ++written;
    }
  };
  copy_media(c.music, "music", music_names);
  copy_media(c.movies, "movie", movie_names);
  const std::string manifest =
      rebuild_manifest(c, picture_names, music_names, movie_names).dump(2) + "\n";
  save(fs::path(dir) / "slidesaver.json",
       {reinterpret_cast<const uint8_t*>(manifest.data()), manifest.size()});
  std::printf("%d files written to %s%s\n", written, dir.c_str(),
              failed ? (", " + std::to_string(failed) + " items could not be read").c_str() : "");
  return failed ? 1 : 0;
}

}  // namespace slidemake
