#include "show/media_extraction.h"

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

#include "base/error.h"
#include "base/path.h"
#include "package/safe_file_name.h"

namespace ss {
namespace {

struct MediaLists {
  const CommaList& offsets;
  const CommaList& sizes;
  const CommaList& names;
};

MediaLists lists_of(const TSSFileLocations& settings, MediaKind kind) {
  if (kind == MediaKind::Music)
    return {settings.SndCommaList, settings.SndSizesCommaList, settings.SndFileNamesCommaList};
  return {settings.FlashCommaList, settings.FlashSizesCommaList, settings.FlashFileNamesCommaList};
}

constexpr MediaKind kMediaKinds[] = {MediaKind::Music, MediaKind::Movie};

struct MediaCopy {
  int64_t offset;
  int64_t length;
  std::string name;
};

// An empty temporary directory would put the files in the root folder, so it is refused.
std::string temp_directory_of(FileSystem& files) {
  std::string folder = files.temp_directory();
  if (folder.empty()) throw SaverError("Cannot find the temporary directory");
  return folder;
}

std::string create_show_folder(FileSystem& files) {
  const std::string temp = temp_directory_of(files);
  std::optional<std::string> folder = files.create_unique_folder(temp);
  if (!folder) throw SaverError("Cannot create a folder in \"" + temp + "\"");
  return *std::move(folder);
}

SaverError negative_field(const char* field, int32_t value, std::string_view name) {
  std::string message = "Negative media ";
  message.append(field).append(" ").append(std::to_string(value));
  message.append(" for \"").append(printable_name(name)).append("\"");
  return SaverError(message);
}

MediaCopy plan_copy(const MediaLists& lists, int32_t i, const ByteSource& exe) {
  const int32_t offset = lists.offsets.integer(i);
  const std::string& name = lists.names.text(i);
  const int32_t length = lists.sizes.integer(i);
  require_safe_file_name(name);
  if (offset < 0) throw negative_field("offset", offset, name);
  if (length < 0) throw negative_field("length", length, name);
  if (length > 0 && int64_t{offset} + length > exe.size()) throw SaverError(kStreamReadError);
  return {offset, length, name};
}

// Every item is checked before anything is written, so a bad later item leaves no earlier files.
std::vector<MediaCopy> plan_copies(const TSSFileLocations& settings, const ByteSource& exe) {
  std::vector<MediaCopy> copies;
  for (MediaKind kind : kMediaKinds) {
    const MediaLists lists = lists_of(settings, kind);
    for (int32_t i = 0; i < lists.offsets.count(); ++i) copies.push_back(plan_copy(lists, i, exe));
  }
  return copies;
}

void copy_item(ByteSource& exe, const MediaCopy& copy, const std::string& folder,
               std::vector<uint8_t>& buffer, FileSystem& files, std::vector<std::string>& written) {
  exe.seek(copy.offset);
  const std::string path = join_path(folder, copy.name, files.separator(), files.lead_bytes());
  const std::unique_ptr<OutputFile> out = files.create_file(path);
  written.push_back(path);
  int64_t left = copy.length;
  while (left > 0) {
    const size_t want = static_cast<size_t>(std::min<int64_t>(left, int64_t{kMediaCopyBlock}));
    const size_t got = exe.read(buffer.data(), want);
    if (got == 0) throw SaverError(kStreamReadError);
    out->write(std::span<const uint8_t>(buffer.data(), got));
    left -= static_cast<int64_t>(got);
  }
  out->close();
}

}  // namespace

std::string extract_media(ByteSource& exe, const TSSFileLocations& settings, FileSystem& files) {
  const std::vector<MediaCopy> copies = plan_copies(settings, exe);
  if (copies.empty()) return std::string();
  const std::string folder = create_show_folder(files);
  std::vector<uint8_t> buffer(kMediaCopyBlock);
  std::vector<std::string> written;
  try {
    for (const MediaCopy& copy : copies) copy_item(exe, copy, folder, buffer, files, written);
  } catch (...) {
    // A half-copied track must not be left behind; the output file is closed by now, so it
    // can be deleted.
    for (const std::string& path : written) files.delete_file(path);
    files.remove_folder(folder);
    throw;
  }
  return folder;
}

std::string media_path(const TSSFileLocations& settings, MediaKind kind, int32_t i,
                       const std::string& folder, FileSystem& files) {
  const std::string& name = lists_of(settings, kind).names.text(i);
  require_safe_file_name(name);
  if (folder.empty()) throw SaverError("The media files were not extracted");
  return join_path(folder, name, files.separator(), files.lead_bytes());
}

void delete_media(const TSSFileLocations& settings, const std::string& folder, FileSystem& files) {
  bool names_missing = false;
  for (MediaKind kind : kMediaKinds) {
    const MediaLists lists = lists_of(settings, kind);
    const int32_t count = std::min(lists.offsets.count(), lists.names.count());
    names_missing = names_missing || lists.names.count() < lists.offsets.count();
    for (int32_t i = 0; i < count && !folder.empty(); ++i) {
      const std::string& name = lists.names.text(i);
      if (is_safe_file_name(name))
        files.delete_file(join_path(folder, name, files.separator(), files.lead_bytes()));
    }
  }
  if (!folder.empty()) files.remove_folder(folder);
  if (settings.Ver == "powerpoint")
    files.delete_file(join_path(temp_directory_of(files), kPowerPointListName, files.separator(),
                                files.lead_bytes()));
  if (names_missing) throw SaverError(kIndexOutOfBounds);
}

}  // namespace ss
