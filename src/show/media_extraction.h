#pragma once
// Copying the music and movie items out of the package into the temporary directory, where the
// media player and the movie control can open them, and deleting the copies when the show ends.
#include <cstdint>
#include <string>

#include "base/byte_source.h"
#include "package/ss_file_locations.h"
#include "platform/files.h"

namespace ss {

enum class MediaKind { Music, Movie };

// Media are copied through one buffer of this size, whatever their length.
inline constexpr size_t kMediaCopyBlock = 61440;

// The file left behind by savers of the "powerpoint" kind, deleted with the media.
inline constexpr const char* kPowerPointListName = "velaPPTPlay.lst";

// Writes every music item, then every movie, into the temporary directory under its package name.
// An empty temporary directory raises "Cannot find the temporary directory".
// Every item is checked before the first byte is written: a sister list too short raises "Index
// is out of bounds", an unsafe name "Unsafe media file name "%s"", a negative offset or length
// its own message, and an item reaching past the end of `exe` "Stream read error". When a copy
// fails midway, the files this call wrote are deleted again before the error goes on.
void extract_media(ByteSource& exe, const TSSFileLocations& settings, FileSystem& files);

// The temporary directory joined with the name of item i; raises "Index is out of bounds" and
// refuses an unsafe name like extract_media.
std::string media_path(const TSSFileLocations& settings, MediaKind kind, int32_t i,
                       FileSystem& files);

// Deletes the extracted copies, and "velaPPTPlay.lst" for the "powerpoint" kind. Files that are
// missing or in use, and unsafe names (never written), are passed over. A names list shorter than
// its offsets list raises "Index is out of bounds" once everything else has been deleted.
void delete_media(const TSSFileLocations& settings, FileSystem& files);

}  // namespace ss
