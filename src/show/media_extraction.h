#pragma once
// Copying the music and movie items out of the package into a folder of the show's own in the
// temporary directory, where the media player and the movie control can open them, and removing
// the copies and that folder when the show ends. A file the user keeps in the temporary
// directory under a media item's name is never touched.
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

// Makes a fresh folder in the temporary directory and writes every music item, then every movie,
// into it under its package name; returns that folder (ending with a separator), or nothing
// when the package holds no media. An empty temporary directory raises "Cannot find the
// temporary directory", a refused folder "Cannot create a folder in "%s"".
// Every item is checked before the first byte is written: a sister list too short raises "Index
// is out of bounds", an unsafe name "Unsafe media file name "%s"", a negative offset or length
// its own message, and an item reaching past the end of `exe` "Stream read error". When a copy
// fails midway, the files this call wrote and its folder are removed before the error goes on.
std::string extract_media(ByteSource& exe, const TSSFileLocations& settings, FileSystem& files);

// The media folder joined with the name of item i; raises "Index is out of bounds" and refuses
// an unsafe name like extract_media, and raises "The media files were not extracted" for an
// empty folder.
std::string media_path(const TSSFileLocations& settings, MediaKind kind, int32_t i,
                       const std::string& folder, FileSystem& files);

// Deletes the copies in the media folder and then the folder (nothing of either when `folder` is
// empty), and "velaPPTPlay.lst" in the temporary directory itself for the "powerpoint" kind.
// Files that are missing or in use, and unsafe names (never written), are passed over. A names
// list shorter than its offsets list raises "Index is out of bounds" once everything else has
// been deleted.
void delete_media(const TSSFileLocations& settings, const std::string& folder, FileSystem& files);

}  // namespace ss
