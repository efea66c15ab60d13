#pragma once
// Recognises an input file's format by its first bytes, never by its extension.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace slidemake {

enum class MediaKind { Unknown, Jpeg, Bmp, Icon, EnhancedMetafile, PlaceableMetafile, Png };

MediaKind detect_media_kind(std::span<const uint8_t> bytes);
std::string_view media_kind_name(MediaKind kind);
// The graphic class the package stores the kind under ("" for PNG, which is converted first).
std::string_view graphic_class_for(MediaKind kind);
// The file extension a picture of that graphic class is extracted with.
std::string_view extension_for_graphic_class(std::string_view graphic_class,
                                             std::span<const uint8_t> data);

// Music the runtime plays: WAV, MIDI, MP3, WMA or Ogg, told by the first bytes.
bool is_playable_music(std::span<const uint8_t> head);
// A movie the runtime plays: SWF (plain, zlib or LZMA).
bool is_playable_movie(std::span<const uint8_t> head);
bool is_music_file(const std::filesystem::path& file);

}  // namespace slidemake
