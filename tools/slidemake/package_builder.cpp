#include "package_builder.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>

#include "atomic_output_file.h"
#include "base/path.h"
#include "base/text.h"
#include "package/image_record.h"
#include "package/safe_file_name.h"
#include "package/settings_stream.h"
#include "package/trailer.h"
#include "picture_payload.h"
#include "progress_bar.h"

namespace slidemake {
namespace {

namespace fs = std::filesystem;

// Offsets and lengths are stored as 32-bit signed decimals.
constexpr int64_t kPackageLimit = int64_t{1} << 31;

int64_t file_size_of(const std::string& path, const std::string& what) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) throw std::runtime_error(what + ": \"" + path + "\" does not exist or is not a file");
  return static_cast<int64_t>(fs::file_size(path, ec));
}

void check_limit(int64_t end, const std::string& what) {
  if (end >= kPackageLimit)
    throw std::runtime_error(what + ": the saver would pass the 2 GiB limit (" +
                             std::to_string(end) + " bytes); offsets in a package are 32-bit");
}

class SaverWriter {
 public:
  SaverWriter(AtomicOutputFile& out, ProgressBar& progress) : out_(out), progress_(progress) {}

  void bytes(std::span<const uint8_t> data) {
    out_.write(data);
    progress_.advance(static_cast<int64_t>(data.size()));
  }

  // Streams a whole file through one block-sized buffer.
  void file(const std::string& path, int64_t expected) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) throw std::runtime_error("cannot open \"" + path + "\"");
    std::array<uint8_t, 1 << 16> block;
    int64_t copied = 0;
    size_t n;
    while ((n = std::fread(block.data(), 1, block.size(), in)) > 0) {
      bytes({block.data(), n});
      copied += static_cast<int64_t>(n);
    }
    std::fclose(in);
    if (copied != expected) throw std::runtime_error("\"" + path + "\" changed while it was read");
  }

  int64_t position() const { return out_.position(); }

 private:
  AtomicOutputFile& out_;
  ProgressBar& progress_;
};

struct MediaInput {
  std::string path;
  std::string name;
  int64_t size;
};

// Music and movies are extracted under their file names into one folder, so the names must be
// safe and distinct.
std::vector<MediaInput> plan_media(const std::vector<std::string>& paths, const char* field,
                                   std::set<std::string>& taken) {
  std::vector<MediaInput> out;
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::string where = std::string(field) + "[" + std::to_string(i) + "]";
    MediaInput m{paths[i], ss::file_name_of(paths[i]), file_size_of(paths[i], where)};
    if (!ss::is_safe_file_name(m.name))
      throw std::runtime_error(where + ": \"" + m.name + "\" cannot be used as a file name on Windows; rename the file");
    if (!taken.insert(ss::ascii_lower(m.name)).second)
      throw std::runtime_error(where + ": another music file or movie is already named \"" + m.name + "\"");
    out.push_back(std::move(m));
  }
  return out;
}

void record_media(const std::vector<MediaInput>& media, const std::vector<int64_t>& offsets,
                  ss::CommaList& offset_list, ss::CommaList& names, ss::CommaList& sizes) {
  for (size_t i = 0; i < media.size(); ++i) {
    offset_list.items().push_back(std::to_string(offsets[i]));
    names.items().push_back(media[i].name);
    sizes.items().push_back(std::to_string(media[i].size));
  }
}

}  // namespace

BuildResult build_saver(const Manifest& manifest, const std::string& runtime_path,
                        const std::string& output_path,
                        const ProgressBar::Listener& listener) {
  // Check every input before anything is written.
  const int64_t runtime_size = file_size_of(runtime_path, "runtime");
  int64_t estimate = runtime_size;
  for (size_t i = 0; i < manifest.pictures.size(); ++i)
    estimate += file_size_of(manifest.pictures[i].path, "pictures[" + std::to_string(i) + "]");
  std::set<std::string> taken;
  const auto music = plan_media(manifest.music, "music", taken);
  const auto movies = plan_media(manifest.movies, "movies", taken);
  for (const auto& m : music) estimate += m.size;
  for (const auto& m : movies) estimate += m.size;
  check_limit(estimate, "package");

  ss::TSSFileLocations settings = manifest.settings;
  settings.PicCommaList = settings.PicFileNamesCommaList = settings.DescriptCommaList = {};
  settings.SndCommaList = settings.SndFileNamesCommaList = settings.SndSizesCommaList = {};
  settings.FlashCommaList = settings.FlashFileNamesCommaList = settings.FlashSizesCommaList = {};

  AtomicOutputFile out(output_path);
  ProgressBar progress("building " + ss::file_name_of(output_path), estimate, listener);
  SaverWriter writer(out, progress);

  writer.file(runtime_path, runtime_size);
  BuildResult result;
  result.package_start = writer.position();

  bool any_description = false;
  for (const PictureInput& p : manifest.pictures) any_description |= !p.description.empty();
  for (size_t i = 0; i < manifest.pictures.size(); ++i) {
    const PictureInput& input = manifest.pictures[i];
    PicturePayload payload;
    try {
      payload = make_picture_payload(input.path);
    } catch (const std::exception& e) {
      throw std::runtime_error("pictures[" + std::to_string(i) + "]: " + e.what());
    }
    settings.PicCommaList.items().push_back(std::to_string(writer.position()));
    settings.PicFileNamesCommaList.items().push_back(ss::file_name_of(input.path));
    if (any_description) settings.DescriptCommaList.items().push_back(input.description);
    writer.bytes(ss::write_image_stream(payload.width, payload.height, payload.bytes));
    check_limit(writer.position(), "pictures[" + std::to_string(i) + "]");
  }

  auto write_media = [&](const std::vector<MediaInput>& media) {
    std::vector<int64_t> offsets;
    for (const MediaInput& m : media) {
      offsets.push_back(writer.position());
      writer.file(m.path, m.size);
      check_limit(writer.position(), m.path);
    }
    return offsets;
  };
  const auto music_offsets = write_media(music);
  const auto movie_offsets = write_media(movies);
  record_media(music, music_offsets, settings.SndCommaList, settings.SndFileNamesCommaList,
               settings.SndSizesCommaList);
  record_media(movies, movie_offsets, settings.FlashCommaList, settings.FlashFileNamesCommaList,
               settings.FlashSizesCommaList);

  result.settings_offset = writer.position();
  writer.bytes(ss::write_settings_stream(settings));
  const int64_t package_length = writer.position() - result.package_start;
  check_limit(writer.position() + ss::kTrailerSize, "settings");
  const std::string trailer = ss::format_trailer(package_length, result.settings_offset);
  writer.bytes({reinterpret_cast<const uint8_t*>(trailer.data()), trailer.size()});
  result.file_size = writer.position();
  progress.finish();
  out.commit(runtime_path);
  return result;
}

}  // namespace slidemake
