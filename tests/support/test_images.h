#pragma once
// Test pictures built in code: bitmap files of any layout, icon files, JPEG and PNG files, and
// the picture payload around them.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gfx/bitmap24.h"
#include "gfx/color.h"
#include "base/error.h"

namespace ss::test {

using Bytes = std::vector<uint8_t>;

void put16(Bytes& b, uint32_t v);
void put32(Bytes& b, uint32_t v);

// Seven colours whose channels are all 0 or 255, so every depth stores them exactly.
const std::vector<Color>& pure_colours();

struct BmpLayout {
  int32_t width = 0;
  int32_t height = 0;  // stored height; negative for top-down rows
  int bit_count = 24;
  uint32_t compression = 0;
  bool core_header = false;    // the 12-byte header with 3-byte colour entries
  uint32_t header_size = 40;   // ignored with core_header
  uint32_t masks[4] = {};      // written for bit fields (after a 40-byte header, else inside it)
  std::vector<Color> palette;  // written as is; colors_used says how many the header declares
  uint32_t colors_used = 0;
};

// Stored rows of the logical image value(x, y) (y counted from the top), in the layout's row
// order and padding. `value` is a colour index for up to 8 bits, else the raw pixel value.
Bytes pack_rows(const BmpLayout& layout, const std::function<uint32_t(int, int)>& value);

// The header, masks and colour table of a packed bitmap (no file header).
Bytes dib_header(const BmpLayout& layout);

// A whole bitmap file: file header, packed bitmap header, the given pixel bytes.
Bytes bmp_file(const BmpLayout& layout, const Bytes& pixels);

// The raw pixel value of colour c under the masks (channels scaled from 0..255).
uint32_t pack_masked(Color c, const uint32_t masks[3]);

struct IconImage {
  Bytes data;  // a packed bitmap (height doubled, mask included) or a PNG file
  int dir_width = 0;
  int dir_height = 0;
  int dir_bit_count = 0;
};
Bytes icon_file(const std::vector<IconImage>& images, uint16_t type = 1);

// A packed icon bitmap: colour rows from colour(x, y), AND mask from transparent(x, y). At 32
// bits the alpha byte comes from alpha(x, y).
Bytes icon_bitmap(int width, int height, int bit_count,
                  const std::function<Color(int, int)>& colour,
                  const std::function<bool(int, int)>& transparent,
                  const std::function<uint8_t(int, int)>& alpha = nullptr);

struct JpegOptions {
  bool grayscale = false;
  bool progressive = false;
  bool cmyk = false;  // stored inverted, with an Adobe marker, as image editors write it
  int quality = 95;
};
Bytes jpeg_file(const Bitmap24& image, const JpegOptions& options = {});

// A PNG with an alpha channel (alpha(x, y) per pixel); empty when libpng is missing.
Bytes png_with_alpha(const Bitmap24& image, const std::function<uint8_t(int, int)>& alpha);

// The first n bytes.
inline Bytes prefix(const Bytes& bytes, size_t n) {
  return Bytes(bytes.begin(), bytes.begin() + static_cast<long>(n));
}

// Class name as a short string, then the graphic's data.
Bytes payload(const std::string& class_name, const Bytes& data);
// Class name, a 4-byte length, the data.
Bytes counted_payload(const std::string& class_name, const Bytes& data);

// A bitmap whose pixels are colour(x, y).
Bitmap24 make_bitmap(int width, int height, const std::function<Color(int, int)>& colour);

// The text of the SaverError that f raises, or "no error".
template <typename F>
std::string error_text(F&& f) {
  try {
    f();
  } catch (const SaverError& e) {
    return e.what();
  }
  return "no error";
}

// Each channel within `tolerance` of the expected colour (for lossy JPEG).
bool near_colour(Color actual, Color expected, int tolerance);

}  // namespace ss::test
