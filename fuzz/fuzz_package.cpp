// A whole saver file from untrusted bytes: the trailer, the settings item, every picture item,
// the picture at the package start, and the copying of the media into a temporary directory
// that is kept in memory. Every file the extraction creates or deletes must lie directly in
// that directory or in the show's own folder there; anything else stops the run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gfx/bitmap24.h"
#include "base/error.h"
#include "package/class_registry.h"
#include "show/media_extraction.h"
#include "package/trailer.h"

namespace {

constexpr const char* kTempDirectory = "/fuzz-temp/";
constexpr const char* kShowFolder = "/fuzz-temp/show/";

// A path the extraction may touch: one plain name right inside the temporary directory or the
// show's folder in it.
void require_inside_temp(const std::string& path) {
  const std::string folder = path.starts_with(kShowFolder) ? kShowFolder : kTempDirectory;
  if (path.compare(0, folder.size(), folder) != 0) std::abort();
  const std::string name = path.substr(folder.size());
  if (name.empty() || name == "." || name == ".." ||
      name.find_first_of("/\\:") != std::string::npos)
    std::abort();
}

class CountingOutput final : public ss::OutputFile {
 public:
  void write(std::span<const uint8_t> bytes) override { written_ += bytes.size(); }
  void close() override {}

 private:
  size_t written_ = 0;
};

class MemoryFiles final : public ss::FileSystem {
 public:
  std::unique_ptr<ss::ByteSource> open_read_deny_write(const std::string& path) override {
    throw ss::SaverError("Cannot open file \"" + path + "\".");
  }
  std::optional<std::string> read_file(const std::string&) override { return std::nullopt; }
  std::unique_ptr<ss::OutputFile> create_file(const std::string& path) override {
    require_inside_temp(path);
    return std::make_unique<CountingOutput>();
  }
  bool replace_file(const std::string&, const std::string&) override { std::abort(); }
  bool delete_file(const std::string& path) override {
    require_inside_temp(path);
    return true;
  }
  bool file_exists(const std::string&) override { return false; }
  bool create_folder(const std::string&) override { return false; }
  std::optional<std::string> create_unique_folder(const std::string& parent) override {
    if (parent != kTempDirectory) std::abort();
    return kShowFolder;
  }
  bool remove_folder(const std::string& path) override {
    if (path != kShowFolder) std::abort();
    return true;
  }
  std::string temp_directory() override { return kTempDirectory; }
  std::string user_settings_folder() override { return std::string(); }
  std::string executable_path() override { return "/fuzz/saver.scr"; }
  char separator() const override { return '/'; }
};

// The show reads one picture per slide; a list naming the same item thousands of times says
// nothing new here, so only the first few items of each list are followed.
constexpr size_t kItemsFollowed = 16;

void keep_first(ss::CommaList& list) {
  if (list.items().size() > kItemsFollowed) list.items().resize(kItemsFollowed);
}

void load_picture_at(ss::ByteSource& file, int64_t offset) {
  try {
    file.seek(offset);
    ss::StreamRecord record = ss::read_stream_record(file);
    if (const auto* image = std::get_if<ss::TImage>(&record)) {
      if (const ss::Graphic* graphic = image->Picture.graphic(); graphic && !graphic->empty()) {
        ss::Bitmap24 screen(64, 48);
        graphic->draw(screen, screen.bounds());
      }
    }
  } catch (const ss::SaverError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ss::MemorySource file(std::span<const uint8_t>(data, size));
  // The preview's road: field 1 only, then the picture at the package start.
  if (const auto start = ss::find_package_start(file)) load_picture_at(file, *start);

  // The show's road: field 1, field 2, the settings, the media, then the pictures as they come.
  if (!ss::read_package_length(file)) return 0;
  const auto settings_offset = ss::read_settings_offset(file);
  if (!settings_offset) return 0;
  ss::TSSFileLocations settings;
  try {
    file.seek(*settings_offset);
    ss::read_stream_into(file, settings);
  } catch (const ss::SaverError&) {
    return 0;
  }
  for (ss::CommaList* list :
       {&settings.PicCommaList, &settings.SndCommaList, &settings.SndSizesCommaList,
        &settings.SndFileNamesCommaList, &settings.FlashCommaList, &settings.FlashSizesCommaList,
        &settings.FlashFileNamesCommaList})
    keep_first(*list);

  MemoryFiles files;
  std::string folder;
  try {
    folder = ss::extract_media(file, settings, files);
  } catch (const ss::SaverError&) {
  }
  for (int32_t i = 0; i < settings.SndCommaList.count(); ++i) {
    try {
      (void)ss::media_path(settings, ss::MediaKind::Music, i, folder, files);
    } catch (const ss::SaverError&) {
    }
  }
  try {
    ss::delete_media(settings, folder, files);
  } catch (const ss::SaverError&) {
  }
  for (int32_t i = 0; i < settings.PicCommaList.count(); ++i)
    load_picture_at(file, settings.PicCommaList.integer(i));
  return 0;
}
