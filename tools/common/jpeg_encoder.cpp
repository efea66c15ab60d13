#include "common/jpeg_encoder.h"

#include <cstdio>
#include <cstdlib>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace ss {
namespace {

// Fills `out` with the row in the encoder's input format; only the gray and CMYK forms need it.
void convert_row(const uint8_t* row, int width, const JpegEncodeOptions& options,
                 std::vector<uint8_t>& out) {
  for (int x = 0; x < width; ++x) {
    const uint8_t* p = row + 3 * x;
    if (options.grayscale) {
      out[static_cast<size_t>(x)] = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
    } else {
      // Inverted inks with no black: the stored values are the red, green and blue levels.
      uint8_t* inks = &out[4 * static_cast<size_t>(x)];
      inks[0] = p[2], inks[1] = p[1], inks[2] = p[0], inks[3] = 255;
    }
  }
}

}  // namespace

std::vector<uint8_t> encode_jpeg(const Bitmap24& image, const JpegEncodeOptions& options) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(image.width());
  cinfo.image_height = static_cast<JDIMENSION>(image.height());
  cinfo.input_components = options.grayscale ? 1 : options.cmyk ? 4 : 3;
  cinfo.in_color_space = options.grayscale ? JCS_GRAYSCALE : options.cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, options.quality, TRUE);
  if (options.progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  const bool converts = options.grayscale || options.cmyk;
  std::vector<uint8_t> converted(converts ? static_cast<size_t>(image.width()) * 4 : 0);
  while (cinfo.next_scanline < cinfo.image_height) {
    const uint8_t* row = image.row(static_cast<int32_t>(cinfo.next_scanline));
    JSAMPROW pointer = const_cast<uint8_t*>(row);
    if (converts) {
      convert_row(row, image.width(), options, converted);
      pointer = converted.data();
    }
    jpeg_write_scanlines(&cinfo, &pointer, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

}  // namespace ss
