#include "test_images.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if __has_include(<png.h>)
#include <png.h>
#define TEST_IMAGES_HAVE_PNG 1
#endif

#include "common/jpeg_encoder.h"

namespace ss::test {

void put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(Bytes& b, uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

const std::vector<Color>& pure_colours() {
  static const std::vector<Color> colours = {rgb(0, 0, 0),    rgb(255, 255, 255), rgb(255, 0, 0),
                                             rgb(0, 255, 0),  rgb(0, 0, 255),     rgb(255, 255, 0),
                                             rgb(0, 255, 255)};
  return colours;
}

Bytes pack_rows(const BmpLayout& layout, const std::function<uint32_t(int, int)>& value) {
  const int rows = std::abs(layout.height);
  const bool top_down = layout.height < 0;
  const size_t stride = (static_cast<size_t>(layout.width) * layout.bit_count + 31) / 32 * 4;
  Bytes out(stride * rows, 0);
  for (int r = 0; r < rows; ++r) {
    uint8_t* row = out.data() + r * stride;
    const int y = top_down ? r : rows - 1 - r;
    for (int x = 0; x < layout.width; ++x) {
      const uint32_t v = value(x, y);
      switch (layout.bit_count) {
        case 1:
          row[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8));
          break;
        case 4:
          row[x / 2] |= static_cast<uint8_t>((v & 15) << (x % 2 ? 0 : 4));
          break;
        default:
          for (int k = 0; k < layout.bit_count / 8; ++k)
            row[x * (layout.bit_count / 8) + k] = static_cast<uint8_t>(v >> (8 * k));
      }
    }
  }
  return out;
}

Bytes dib_header(const BmpLayout& layout) {
  Bytes b;
  if (layout.core_header) {
    put32(b, 12);
    put16(b, static_cast<uint32_t>(layout.width));
    put16(b, static_cast<uint32_t>(layout.height));
    put16(b, 1);
    put16(b, static_cast<uint32_t>(layout.bit_count));
  } else {
    put32(b, layout.header_size);
    put32(b, static_cast<uint32_t>(layout.width));
    put32(b, static_cast<uint32_t>(layout.height));
    put16(b, 1);
    put16(b, static_cast<uint32_t>(layout.bit_count));
    put32(b, layout.compression);
    put32(b, 0);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, layout.colors_used);
    put32(b, 0);
    if (layout.header_size > 40) {
      for (uint32_t m : layout.masks) put32(b, m);
      b.resize(layout.header_size, 0);
    } else if (layout.compression == 3) {
      for (int c = 0; c < 3; ++c) put32(b, layout.masks[c]);
    }
  }
  for (Color c : layout.palette) {
    b.push_back(color_blue(c));
    b.push_back(color_green(c));
    b.push_back(color_red(c));
    if (!layout.core_header) b.push_back(0);
  }
  return b;
}

Bytes bmp_file(const BmpLayout& layout, const Bytes& pixels) {
  const Bytes header = dib_header(layout);
  Bytes b = {'B', 'M'};
  put32(b, static_cast<uint32_t>(14 + header.size() + pixels.size()));
  put32(b, 0);
  put32(b, static_cast<uint32_t>(14 + header.size()));
  b.insert(b.end(), header.begin(), header.end());
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

uint32_t pack_masked(Color c, const uint32_t masks[3]) {
  const uint8_t channel[3] = {color_red(c), color_green(c), color_blue(c)};
  uint32_t v = 0;
  for (int k = 0; k < 3; ++k) {
    if (masks[k] == 0) continue;
    int shift = 0;
    while (((masks[k] >> shift) & 1) == 0) ++shift;
    const uint32_t max = masks[k] >> shift;
    v |= (channel[k] * max / 255) << shift;
  }
  return v;
}

Bytes icon_file(const std::vector<IconImage>& images, uint16_t type) {
  Bytes b;
  put16(b, 0);
  put16(b, type);
  put16(b, static_cast<uint32_t>(images.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
  for (const IconImage& image : images) {
    b.push_back(static_cast<uint8_t>(image.dir_width == 256 ? 0 : image.dir_width));
    b.push_back(static_cast<uint8_t>(image.dir_height == 256 ? 0 : image.dir_height));
    b.push_back(0);
    b.push_back(0);
    put16(b, 1);
    put16(b, static_cast<uint32_t>(image.dir_bit_count));
    put32(b, static_cast<uint32_t>(image.data.size()));
    put32(b, offset);
    offset += static_cast<uint32_t>(image.data.size());
  }
  for (const IconImage& image : images) b.insert(b.end(), image.data.begin(), image.data.end());
  return b;
}

Bytes icon_bitmap(int width, int height, int bit_count,
                  const std::function<Color(int, int)>& colour,
                  const std::function<bool(int, int)>& transparent,
                  const std::function<uint8_t(int, int)>& alpha) {
  BmpLayout layout;
  layout.width = width;
  layout.height = height * 2;
  layout.bit_count = bit_count;
  std::function<uint32_t(int, int)> value;
  if (bit_count <= 8) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (std::find(layout.palette.begin(), layout.palette.end(), colour(x, y)) ==
            layout.palette.end())
          layout.palette.push_back(colour(x, y));
    layout.palette.resize(size_t{1} << bit_count, 0);
    value = [&](int x, int y) {
      return static_cast<uint32_t>(
          std::find(layout.palette.begin(), layout.palette.end(), colour(x, y)) -
          layout.palette.begin());
    };
  } else {
    value = [&](int x, int y) {
      const Color c = colour(x, y);
      const uint32_t a = alpha ? alpha(x, y) : 0;
      return a << 24 | uint32_t{color_red(c)} << 16 | uint32_t{color_green(c)} << 8 | color_blue(c);
    };
  }
  Bytes b = dib_header(layout);
  BmpLayout colour_rows = layout;
  colour_rows.height = height;
  const Bytes xor_bits = pack_rows(colour_rows, value);
  b.insert(b.end(), xor_bits.begin(), xor_bits.end());
  BmpLayout mask_rows = colour_rows;
  mask_rows.bit_count = 1;
  const Bytes and_bits =
      pack_rows(mask_rows, [&](int x, int y) { return transparent(x, y) ? 1u : 0u; });
  b.insert(b.end(), and_bits.begin(), and_bits.end());
  return b;
}

Bytes jpeg_file(const Bitmap24& image, const JpegOptions& options) {
  return encode_jpeg(image, JpegEncodeOptions{.quality = options.quality,
                                              .progressive = options.progressive,
                                              .grayscale = options.grayscale,
                                              .cmyk = options.cmyk});
}

Bytes png_with_alpha(const Bitmap24& image, const std::function<uint8_t(int, int)>& alpha) {
#if TEST_IMAGES_HAVE_PNG
  std::vector<uint8_t> bgra;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const uint8_t* p = image.row(y) + 3 * x;
      bgra.insert(bgra.end(), {p[0], p[1], p[2], alpha(x, y)});
    }
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width());
  png.height = static_cast<png_uint_32>(image.height());
  png.format = PNG_FORMAT_BGRA;
  Bytes out(PNG_IMAGE_PNG_SIZE_MAX(png));
  png_alloc_size_t size = out.size();
  png_image_write_to_memory(&png, out.data(), &size, 0, bgra.data(), 0, nullptr);
  out.resize(size);
  return out;
#else
  (void)image;
  (void)alpha;
  return {};
#endif
}

Bytes payload(const std::string& class_name, const Bytes& data) {
  // Built by assignment rather than insert: GCC 12 misreads the insert after a push_back as
  // an out-of-bounds copy.
  Bytes b(1 + class_name.size() + data.size());
  b[0] = static_cast<uint8_t>(class_name.size());
  std::copy(class_name.begin(), class_name.end(), b.begin() + 1);
  std::copy(data.begin(), data.end(),
            b.begin() + 1 + static_cast<std::ptrdiff_t>(class_name.size()));
  return b;
}

Bytes counted_payload(const std::string& class_name, const Bytes& data) {
  Bytes counted;
  put32(counted, static_cast<uint32_t>(data.size()));
  counted.insert(counted.end(), data.begin(), data.end());
  return payload(class_name, counted);
}

Bitmap24 make_bitmap(int width, int height, const std::function<Color(int, int)>& colour) {
  Bitmap24 b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.set_pixel(x, y, colour(x, y));
  return b;
}

bool near_colour(Color actual, Color expected, int tolerance) {
  return std::abs(color_red(actual) - color_red(expected)) <= tolerance &&
         std::abs(color_green(actual) - color_green(expected)) <= tolerance &&
         std::abs(color_blue(actual) - color_blue(expected)) <= tolerance;
}

}  // namespace ss::test
