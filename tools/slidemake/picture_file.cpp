#include "picture_file.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "base/error.h"
#include "base/text.h"
#include "gfx/raster.h"
#include "gfx/size_text.h"
#include "package/picture.h"
#include "package/png_codec.h"
#include "picture_payload.h"

namespace slidemake {

ss::Bitmap24 load_picture_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open \"" + path + "\"");
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
  if (ss::is_png(bytes)) {
    try {
      return ss::decode_png(bytes).pixels;
    } catch (const ss::SaverError& e) {
      throw std::runtime_error("\"" + path + "\": " + e.what());
    }
  }
  const PicturePayload payload = make_picture_payload(path);
  const ss::Picture picture = ss::read_picture_payload(payload.bytes);
  if (!picture.has_graphic() || picture.width() <= 0 || picture.height() <= 0)
    throw std::runtime_error("\"" + path + "\": the picture is empty");
  ss::Bitmap24 image(picture.width(), picture.height());
  picture.graphic()->draw(image, image.bounds());
  return image;
}

ss::Bitmap24 scaled(const ss::Bitmap24& image, int32_t width, int32_t height) {
  ss::Bitmap24 out(width, height);
  ss::stretch_copy(out, out.bounds(), image, image.bounds());
  return out;
}

ss::Point parse_size(const std::string& text) {
  if (const std::optional<ss::Point> size = ss::parse_size(text, 16384)) return *size;
  throw std::runtime_error("\"" + text + "\" is not a size; write WIDTHxHEIGHT, e.g. 640x480");
}

void write_png_file(const std::string& path, const ss::Bitmap24& image) {
  const std::vector<uint8_t> png = ss::encode_png(image);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  if (!out) throw std::runtime_error("cannot write \"" + path + "\"");
}

}  // namespace slidemake
