#pragma once
// Our decoder for device-independent bitmaps: bitmap files ("BM") and the packed bitmaps inside
// icon files. 1, 4, 8, 16, 24 and 32 bits per pixel; uncompressed, run-length (4 and 8 bit) and
// bit-field encodings; bottom-up and top-down rows; the old 12-byte core header too.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "gfx/bitmap24.h"

namespace ss {

inline constexpr const char* kBitmapNotValid = "Bitmap image is not valid";
inline constexpr const char* kBitmapTooLarge = "Bitmap image is too large";

// The texts a caller wants raised: a bitmap file and an icon report their own.
struct DibErrors {
  const char* not_valid = kBitmapNotValid;
  const char* too_large = kBitmapTooLarge;
};

enum DibCompression : uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3 };

struct DibInfo {
  struct Bgr {
    uint8_t b = 0, g = 0, r = 0;
  };
  int32_t width = 0;
  int32_t height = 0;  // always positive; top_down tells the row order
  bool top_down = false;
  uint16_t bit_count = 0;
  uint32_t compression = kBiRgb;
  uint32_t masks[4] = {};  // red, green, blue, alpha; used at 16 and 32 bits per pixel
  std::vector<Bgr> palette;
  uint8_t palette_entry_size = 4;  // 3 in the core header's table
  size_t palette_offset = 0;       // where the colour table starts (after header and masks)
  // Offset of the first pixel byte in a packed bitmap: header, masks and colour table.
  size_t pixels_offset = 0;
};

// Bytes of one stored row at this width and depth (rows are padded to 32 bits).
size_t dib_stride(int32_t width, int bit_count);

// Reads the header, masks and colour table at the start of `dib`. With halve_height (icons) the
// stored height covers the colour rows and the mask rows, and the image is half as high.
DibInfo parse_dib_header(std::span<const uint8_t> dib, const DibErrors& errors,
                         bool halve_height = false);

// Decodes the pixels of `info` from `pixels` into `out`. When `alpha` is given and the bitmap has
// 32 bits per pixel, it receives one alpha byte per pixel, top-down.
void decode_dib_pixels(const DibInfo& info, std::span<const uint8_t> pixels, Bitmap24& out,
                       const DibErrors& errors, std::vector<uint8_t>* alpha = nullptr);

// Decodes a whole bitmap file: the 14-byte file header beginning "BM", then a packed bitmap.
Bitmap24 decode_bmp_file(std::span<const uint8_t> file);

}  // namespace ss
