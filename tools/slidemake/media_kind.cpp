#include "media_kind.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace slidemake {
namespace {

uint32_t le32(std::span<const uint8_t> b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

}  // namespace

MediaKind detect_media_kind(std::span<const uint8_t> b) {
  if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return MediaKind::Jpeg;
  if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') return MediaKind::Bmp;
  if (b.size() >= 8 && b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G')
    return MediaKind::Png;
  if (b.size() >= 6 && le32(b, 0) == 0x00010000 && (b[4] | (b[5] << 8)) > 0) return MediaKind::Icon;
  if (b.size() >= 22 && le32(b, 0) == 0x9AC6CDD7) return MediaKind::PlaceableMetafile;
  if (b.size() > 100 && le32(b, 0) == 1 && le32(b, 40) == 0x464D4520)
    return MediaKind::EnhancedMetafile;
  return MediaKind::Unknown;
}

std::string_view media_kind_name(MediaKind kind) {
  switch (kind) {
    case MediaKind::Jpeg:
      return "JPEG";
    case MediaKind::Bmp:
      return "BMP";
    case MediaKind::Icon:
      return "ICO";
    case MediaKind::EnhancedMetafile:
      return "EMF";
    case MediaKind::PlaceableMetafile:
      return "WMF";
    case MediaKind::Png:
      return "PNG";
    case MediaKind::Unknown:
      break;
  }
  return "unknown";
}

std::string_view graphic_class_for(MediaKind kind) {
  switch (kind) {
    case MediaKind::Jpeg:
      return "TJPEGImage";
    case MediaKind::Bmp:
      return "TBitmap";
    case MediaKind::Icon:
      return "TIcon";
    case MediaKind::EnhancedMetafile:
    case MediaKind::PlaceableMetafile:
      return "TMetafile";
    case MediaKind::Png:
    case MediaKind::Unknown:
      break;
  }
  return "";
}

std::string_view extension_for_graphic_class(std::string_view graphic_class,
                                             std::span<const uint8_t> data) {
  if (graphic_class == "TJPEGImage") return ".jpg";
  if (graphic_class == "TBitmap") return ".bmp";
  if (graphic_class == "TIcon") return ".ico";
  if (graphic_class == "TMetafile")
    return detect_media_kind(data) == MediaKind::EnhancedMetafile ? ".emf" : ".wmf";
  return ".bin";
}

namespace {

bool starts_with(std::span<const uint8_t> b, std::string_view magic, size_t at = 0) {
  return b.size() >= at + magic.size() &&
         std::equal(magic.begin(), magic.end(), b.begin() + static_cast<std::ptrdiff_t>(at),
                    [](char m, uint8_t c) { return static_cast<uint8_t>(m) == c; });
}

}  // namespace

bool is_playable_music(std::span<const uint8_t> b) {
  if (starts_with(b, "RIFF") && starts_with(b, "WAVE", 8)) return true;
  if (starts_with(b, "MThd") || starts_with(b, "OggS") || starts_with(b, "ID3")) return true;
  // A MIDI file wrapped in RIFF, as some players save it.
  if (starts_with(b, "RIFF") && starts_with(b, "RMID", 8)) return true;
  // The ASF header object that opens a WMA file.
  if (starts_with(b, std::string_view("\x30\x26\xB2\x75\x8E\x66\xCF\x11", 8))) return true;
  // An MP3 without a tag opens on a frame: eleven sync bits, a known layer and bit rate.
  return b.size() >= 3 && b[0] == 0xFF && (b[1] & 0xE0) == 0xE0 && (b[1] & 0x06) != 0 &&
         (b[2] & 0xF0) != 0xF0;
}

bool is_playable_movie(std::span<const uint8_t> b) {
  return starts_with(b, "FWS") || starts_with(b, "CWS") || starts_with(b, "ZWS");
}

bool is_music_file(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::array<uint8_t, 16> head{};
  in.read(reinterpret_cast<char*>(head.data()), head.size());
  return is_playable_music(std::span(head.data(), static_cast<size_t>(in.gcount())));
}

}  // namespace slidemake
