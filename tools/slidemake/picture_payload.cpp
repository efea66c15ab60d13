#include "picture_payload.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "base/error.h"
#include "common/bmp_encoder.h"
#include "media_kind.h"
#include "package/picture.h"
#include "package/png_codec.h"

namespace slidemake {
namespace {

std::vector<uint8_t> read_whole_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open \"" + path + "\"");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

PicturePayload payload_of(const std::string& path, std::vector<uint8_t> data);

}  // namespace

PicturePayload make_picture_payload(const std::string& path) {
  return payload_of(path, read_whole_file(path));
}

PicturePayload jpeg_picture_payload(std::vector<uint8_t> jpeg) {
  return payload_of("the converted picture", std::move(jpeg));
}

namespace {

PicturePayload payload_of(const std::string& path, std::vector<uint8_t> data) {
  MediaKind kind = detect_media_kind(data);
  if (kind == MediaKind::Png) {
    if (!ss::png_supported())
      throw std::runtime_error("\"" + path +
                               "\": PNG input needs libpng, which this build of slidemake lacks; "
                               "convert it to BMP or JPEG");
    try {
      data = ss::encode_bmp(ss::decode_png(data).pixels);
    } catch (const ss::SaverError& e) {
      throw std::runtime_error("\"" + path + "\": " + e.what());
    }
    kind = MediaKind::Bmp;
  }
  if (kind == MediaKind::Unknown)
    throw std::runtime_error("\"" + path +
                             "\": not a supported picture (JPEG, BMP, ICO, WMF, EMF or PNG)");
  if (data.size() > 0x7FFFFFF0u) throw std::runtime_error("\"" + path + "\": too large");

  const std::string_view graphic_class = graphic_class_for(kind);
  const auto size = static_cast<uint32_t>(data.size());
  // A metafile's length counts its own four bytes; icons carry none and run to the end.
  const bool metafile = kind == MediaKind::EnhancedMetafile || kind == MediaKind::PlaceableMetafile;
  const bool has_length = kind != MediaKind::Icon;
  const uint32_t length = metafile ? size + 4 : size;
  PicturePayload payload;
  std::vector<uint8_t>& out = payload.bytes;
  out.resize(1 + graphic_class.size() + (has_length ? 4 : 0) + data.size());
  uint8_t* p = out.data();
  *p++ = static_cast<uint8_t>(graphic_class.size());
  std::memcpy(p, graphic_class.data(), graphic_class.size());
  p += graphic_class.size();
  if (has_length)
    for (int i = 0; i < 4; ++i) *p++ = static_cast<uint8_t>(length >> (8 * i));
  if (!data.empty()) std::memcpy(p, data.data(), data.size());

  try {
    const ss::Picture picture = ss::read_picture_payload(out);
    payload.width = picture.width();
    payload.height = picture.height();
  } catch (const ss::SaverError& e) {
    throw std::runtime_error("\"" + path + "\": the runtime cannot read this " +
                             std::string(media_kind_name(kind)) + ": " + e.what());
  }
  return payload;
}

}  // namespace
}  // namespace slidemake
