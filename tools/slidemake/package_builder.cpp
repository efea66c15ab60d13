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
#include "code_page.h"
#include "media_kind.h"
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
  if (!fs::is_regular_file(path, ec))
    throw std::runtime_error(what + ": \"" + path + "\" does not exist or is not a file");
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
std::vector<uint8_t> head_of(const std::string& path) {
  std::vector<uint8_t> head(16);
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) throw std::runtime_error("cannot open \"" + path + "\"");
  head.resize(std::fread(head.data(), 1, head.size(), in));
  std::fclose(in);
  return head;
}

std::vector<MediaInput> plan_media(const std::vector<std::string>& paths, const char* field,
                                   std::set<std::string>& taken) {
  std::vector<MediaInput> out;
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::string where = std::string(field) + "[" + std::to_string(i) + "]";
    MediaInput m{paths[i], ss::file_name_of(paths[i]), file_size_of(paths[i], where)};
    if (!ss::is_safe_file_name(m.name))
      throw std::runtime_error(where + ": \"" + m.name +
                               "\" cannot be used as a file name on Windows; rename the file");
    if (!taken.insert(ss::ascii_lower(m.name)).second)
      throw std::runtime_error(where + ": another music file or movie is already named \"" +
                               m.name + "\"");
    out.push_back(std::move(m));
  }
  return out;
}

// The output must not be one of the inputs (the same file under any name) nor a folder.
void check_output(const std::string& output, const Manifest& manifest, const std::string& runtime) {
  std::error_code ec;
  if (fs::is_directory(output, ec))
    throw std::runtime_error("-o \"" + output + "\" is a folder; name the saver file to write");
  if (!fs::exists(output, ec)) return;
  std::vector<std::pair<std::string, std::string>> inputs = {{runtime, "the runtime"}};
  if (!manifest.source.empty()) inputs.push_back({manifest.source, "the manifest"});
  for (const PictureInput& p : manifest.pictures) inputs.push_back({p.path, "a picture"});
  for (const std::string& m : manifest.music) inputs.push_back({m, "a music file"});
  for (const std::string& m : manifest.movies) inputs.push_back({m, "a movie"});
  for (const auto& [input, what] : inputs)
    if (fs::equivalent(output, input, ec))
      throw std::runtime_error("-o \"" + output + "\" is " + what + " of this saver (\"" + input +
                               "\"); write the saver to another file");
}

// A picture in the runtime's own formats stays as it is when it is within the size; everything
// else becomes an upright sRGB baseline JPEG (or stays the JPEG it already is).
PicturePayload picture_payload(const std::string& path, const BuildOptions& options,
                               const Warn& warn) {
  const MediaKind kind = detect_media_kind(head_of(path));
  if (kind == MediaKind::Icon || kind == MediaKind::EnhancedMetafile ||
      kind == MediaKind::PlaceableMetafile)
    return make_picture_payload(path);
  if (kind == MediaKind::Bmp) {
    PicturePayload bitmap = make_picture_payload(path);
    const IngestOptions& limit = options.pictures;
    const bool unlimited = limit.max_width <= 0 || limit.max_height <= 0;
    if (unlimited || (bitmap.width <= limit.max_width && bitmap.height <= limit.max_height))
      return bitmap;
  }
  IngestedPicture picture = ingest_picture(path, options.pictures, warn);
  return jpeg_picture_payload(std::move(picture.jpeg));
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
                        const std::string& output_path, const BuildOptions& options) {
  // Check every input before anything is written.
  check_output(output_path, manifest, runtime_path);
  const Warn warn = options.warn ? options.warn : [](const std::string& message) {
    std::fprintf(stderr, "warning: %s\n", message.c_str());
  };
  // The code page asked for, else the one the caption font's charset names (1252 for most).
  const int code_page = options.code_page.value_or(
      manifest.code_page.value_or(ss::code_page_for_charset(manifest.settings.TextFont.Charset)));
  if (!is_supported_code_page(code_page))
    throw std::runtime_error("code page " + std::to_string(code_page) +
                             " is not one a saver can use (1250 to 1258, 874 or 932)");
  const int64_t runtime_size = file_size_of(runtime_path, "runtime");
  int64_t estimate = runtime_size;
  for (size_t i = 0; i < manifest.pictures.size(); ++i)
    estimate += file_size_of(manifest.pictures[i].path, "pictures[" + std::to_string(i) + "]");
  std::set<std::string> taken;
  const auto music = plan_media(manifest.music, "music", taken);
  const auto movies = plan_media(manifest.movies, "movies", taken);
  int64_t fixed = runtime_size;
  for (const auto& m : music) fixed += m.size;
  for (const auto& m : movies) fixed += m.size;
  estimate += fixed - runtime_size;
  check_limit(fixed, "package");  // pictures may shrink, so only what is copied whole counts

  ss::TSSFileLocations settings = manifest.settings;
  settings.PicCommaList = settings.PicFileNamesCommaList = settings.DescriptCommaList = {};
  settings.SndCommaList = settings.SndFileNamesCommaList = settings.SndSizesCommaList = {};
  settings.FlashCommaList = settings.FlashFileNamesCommaList = settings.FlashSizesCommaList = {};

  AtomicOutputFile out(output_path);
  ProgressBar progress("building " + ss::file_name_of(output_path), estimate, options.progress);
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
      payload = picture_payload(input.path, options, warn);
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

  encode_settings_texts(settings, code_page);
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
