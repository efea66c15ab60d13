#include "picture_ingest.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "gfx/raster.h"
#include "common/jpeg_encoder.h"
#include "package/jpeg_graphic.h"
#include "picture_file.h"

namespace slidemake {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> read_all(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open \"" + file.string() + "\"");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool fits(int width, int height, const IngestOptions& o) {
  return (o.max_width <= 0 || width <= o.max_width) &&
         (o.max_height <= 0 || height <= o.max_height);
}

}  // namespace

IngestedPicture ingest_picture(const fs::path& file, const IngestOptions& options, const Warn&) {
  std::vector<uint8_t> bytes = read_all(file);
  if (bytes.size() > 2 && bytes[0] == 0xFF && bytes[1] == 0xD8) {
    try {
      const ss::JpegHeader header = ss::read_jpeg_header(bytes);
      if (fits(header.width, header.height, options))
        return {std::move(bytes), header.width, header.height, true};
    } catch (const std::exception& e) {
      throw std::runtime_error("\"" + file.string() + "\": " + e.what());
    }
  }
  ss::Bitmap24 image = load_picture_file(file.string());
  if (!fits(image.width(), image.height(), options)) {
    const double scale =
        std::min(options.max_width > 0 ? double(options.max_width) / image.width() : 1.0,
                 options.max_height > 0 ? double(options.max_height) / image.height() : 1.0);
    image = scaled(image, std::max(1, int(image.width() * scale)),
                   std::max(1, int(image.height() * scale)));
  }
  return {ss::encode_jpeg(image, options.quality), image.width(), image.height(), false};
}

std::vector<fs::path> expand_picture_entry(const std::string& entry, const fs::path& base,
                                           const Warn&) {
  const fs::path p(entry);
  return {p.is_absolute() ? p : base / p};
}

}  // namespace slidemake
