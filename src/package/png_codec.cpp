#include "package/png_codec.h"

#include <cstring>

#include "base/error.h"
#include "package/picture_limits.h"

#if SLIDESAVER_HAVE_PNG
#include <png.h>
#endif

namespace ss {

bool is_png(std::span<const uint8_t> bytes) {
  static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return bytes.size() >= 8 && std::memcmp(bytes.data(), kSignature, 8) == 0;
}

#if SLIDESAVER_HAVE_PNG

namespace {

// libpng's simplified interface keeps its own error handling (no exit, no stderr); the image
// only has to be freed on every path.
struct ImageGuard {
  png_image* image;
  ~ImageGuard() { png_image_free(image); }
};

void split_alpha(const std::vector<uint8_t>& bgra, PngImage& out) {
  const int32_t w = out.pixels.width();
  out.alpha.resize(static_cast<size_t>(w) * out.pixels.height());
  const uint8_t* p = bgra.data();
  for (int32_t y = 0; y < out.pixels.height(); ++y) {
    uint8_t* row = out.pixels.row(y);
    uint8_t* a = out.alpha.data() + static_cast<size_t>(y) * w;
    for (int32_t x = 0; x < w; ++x, p += 4, row += 3) {
      row[0] = p[0];
      row[1] = p[1];
      row[2] = p[2];
      a[x] = p[3];
    }
  }
}

}  // namespace

bool png_supported() {
  return true;
}

PngImage decode_png(std::span<const uint8_t> bytes, const PngErrors& errors) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  ImageGuard guard{&image};
  if (!is_png(bytes) || !png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
    throw SaverError(errors.not_valid);
  if (!picture_size_allowed(image.width, image.height)) throw SaverError(errors.too_large);

  PngImage out;
  out.pixels.resize(static_cast<int32_t>(image.width), static_cast<int32_t>(image.height));
  if ((image.format & PNG_FORMAT_FLAG_ALPHA) == 0) {
    image.format = PNG_FORMAT_BGR;
    // Rows go straight into the bitmap; its stride counts bytes, which are components here.
    if (!png_image_finish_read(&image, nullptr, out.pixels.data(),
                               static_cast<png_int_32>(out.pixels.stride()), nullptr))
      throw SaverError(errors.not_valid);
    return out;
  }
  image.format = PNG_FORMAT_BGRA;
  std::vector<uint8_t> bgra(static_cast<size_t>(image.width) * image.height * 4);
  if (!png_image_finish_read(&image, nullptr, bgra.data(), 0, nullptr))
    throw SaverError(errors.not_valid);
  split_alpha(bgra, out);
  return out;
}

std::vector<uint8_t> encode_png(const Bitmap24& bitmap) {
  if (bitmap.empty()) throw SaverError("Cannot write an empty picture as PNG");
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(bitmap.width());
  image.height = static_cast<png_uint_32>(bitmap.height());
  image.format = PNG_FORMAT_BGR;
  ImageGuard guard{&image};
  std::vector<uint8_t> out(PNG_IMAGE_PNG_SIZE_MAX(image));
  png_alloc_size_t size = out.size();
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, bitmap.data(),
                                 static_cast<png_int_32>(bitmap.stride()), nullptr))
    throw SaverError(std::string("PNG encoding failed: ") + image.message);
  out.resize(size);
  return out;
}

#else

bool png_supported() {
  return false;
}

PngImage decode_png(std::span<const uint8_t>, const PngErrors& errors) {
  throw SaverError(errors.not_valid);
}

std::vector<uint8_t> encode_png(const Bitmap24&) {
  throw SaverError("PNG output is not available in this build");
}

#endif

}  // namespace ss
