#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "base/path.h"
#include "commands.h"
#include "media_kind.h"
#include "package/safe_file_name.h"
#include "platform/files.h"
#include "saver_contents.h"

namespace slidemake {
namespace {

namespace fs = std::filesystem;

void save(const fs::path& path, std::span<const uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write \"" + path.string() + "\"");
}

// A name from the package is only used when it is one plain file name; otherwise a generated one.
std::string output_name(const std::string& recorded, const std::string& fallback) {
  const std::string base = ss::file_name_of(recorded);
  return ss::is_safe_file_name(base) ? base : fallback;
}

}  // namespace

int run_extract(const Args& args) {
  std::string path, dir;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-d" && i + 1 < args.size()) dir = args[++i];
    else if (path.empty() && !args[i].starts_with("-")) path = args[i];
    else throw std::runtime_error("usage: slidemake extract SAVER -d DIR");
  }
  if (path.empty() || dir.empty()) throw std::runtime_error("usage: slidemake extract SAVER -d DIR");
  fs::create_directories(dir);

  const SaverContents c = read_saver_contents(path);
  for (const std::string& w : c.warnings) std::fprintf(stderr, "warning: %s\n", w.c_str());
  int written = 0, failed = 0;
  for (size_t i = 0; i < c.pictures.size(); ++i) {
    const ItemInfo& item = c.pictures[i];
    if (!item.readable) {
      ++failed;
      continue;
    }
    const RawPicture raw = read_raw_picture(path, item.offset);
    const std::string ext(extension_for_graphic_class(raw.graphic_class, raw.data));
    fs::path target = fs::path(dir) / output_name(item.name, "picture-" + std::to_string(i) + ext);
    if (target.extension().string() != ext) target.replace_extension(ext);
    save(target, raw.data);
    ++written;
  }
  auto copy_media = [&](const std::vector<ItemInfo>& items, const char* kind) {
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
      save(fs::path(dir) / output_name(item.name, std::string(kind) + "-" + std::to_string(i)), buffer);
      ++written;
    }
  };
  copy_media(c.music, "music");
  copy_media(c.movies, "movie");
  std::printf("%d files written to %s%s\n", written, dir.c_str(),
              failed ? (", " + std::to_string(failed) + " items could not be read").c_str() : "");
  return failed ? 1 : 0;
}

}  // namespace slidemake
