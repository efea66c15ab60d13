#include "picture_payload.h"

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

void put_u32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

PicturePayload make_picture_payload(const std::string& path) {
  std::vector<uint8_t> data = read_whole_file(path);
  MediaKind kind = detect_media_kind(data);
  if (kind == MediaKind::Png) {
    if (!ss::png_supported())
      throw std::runtime_error("\"" + path + "\": PNG input needs libpng, which this build of slidemake lacks; convert it to BMP or JPEG");
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
  PicturePayload payload;
  std::vector<uint8_t>& out = payload.bytes;
  out.push_back(static_cast<uint8_t>(graphic_class.size()));
  out.insert(out.end(), graphic_class.begin(), graphic_class.end());
  const auto size = static_cast<uint32_t>(data.size());
  if (kind == MediaKind::EnhancedMetafile || kind == MediaKind::PlaceableMetafile)
    put_u32(out, size + 4);  // a metafile's length counts its own four bytes
  else if (kind != MediaKind::Icon)
    put_u32(out, size);  // icons run to the end of the payload
  out.insert(out.end(), data.begin(), data.end());

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

}  // namespace slidemake
