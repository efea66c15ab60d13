#include "package/bmp_decoder.h"

#include <algorithm>
#include <cstring>

#include "base/error.h"
#include "package/picture_bytes.h"
#include "package/picture_limits.h"

namespace ss {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;

bool known_info_header_size(uint32_t size) {
  // BITMAPINFOHEADER and its later extensions (with masks, V4, V5).
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool depth_fits_compression(int bit_count, uint32_t compression, bool top_down) {
  switch (compression) {
    case kBiRgb:
      return bit_count == 1 || bit_count == 4 || bit_count == 8 || bit_count == 16 ||
             bit_count == 24 || bit_count == 32;
    case kBiRle8:
      return bit_count == 8 && !top_down;  // run-length bitmaps are always stored bottom-up
    case kBiRle4:
      return bit_count == 4 && !top_down;
    case kBiBitfields:
      return bit_count == 16 || bit_count == 32;
    default:
      return false;
  }
}

// One colour channel of a bit-field pixel, scaled to 0..255.
class Channel {
 public:
  explicit Channel(uint32_t mask) : mask_(mask) {
    if (mask == 0) return;
    while (((mask >> shift_) & 1) == 0) ++shift_;
    max_ = mask >> shift_;
  }
  uint8_t operator()(uint32_t pixel) const {
    if (max_ == 0) return 0;
    const uint32_t v = (pixel & mask_) >> shift_;
    if (max_ == 255) return static_cast<uint8_t>(v);
    return static_cast<uint8_t>((uint64_t{v} * 255 + max_ / 2) / max_);
  }

 private:
  uint32_t mask_;
  int shift_ = 0;
  uint32_t max_ = 0;
};

class PixelWriter {
 public:
  PixelWriter(const DibInfo& info, Bitmap24& out) : info_(info), out_(out) {}

  // The destination row of stored row r.
  uint8_t* row(int64_t stored_row) const {
    const int64_t y = info_.top_down ? stored_row : info_.height - 1 - stored_row;
    return out_.row(static_cast<int32_t>(y));
  }
  static void put_index(uint8_t* dst_row, int32_t x, const DibInfo& info, unsigned index) {
    uint8_t* p = dst_row + static_cast<size_t>(x) * 3;
    if (index < info.palette.size()) {
      const DibInfo::Bgr& c = info.palette[index];
      p[0] = c.b;
      p[1] = c.g;
      p[2] = c.r;
    } else {
      p[0] = p[1] = p[2] = 0;  // an index past a short colour table shows black
    }
  }

 private:
  const DibInfo& info_;
  Bitmap24& out_;
};

void decode_indexed_row(const DibInfo& info, const uint8_t* src, uint8_t* dst) {
  const int32_t w = info.width;
  switch (info.bit_count) {
    case 1:
      for (int32_t x = 0; x < w; ++x)
        PixelWriter::put_index(dst, x, info, (src[x >> 3] >> (7 - (x & 7))) & 1);
      break;
    case 4:
      for (int32_t x = 0; x < w; ++x)
        PixelWriter::put_index(dst, x, info, (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15);
      break;
    default:
      for (int32_t x = 0; x < w; ++x) PixelWriter::put_index(dst, x, info, src[x]);
      break;
  }
}

void decode_uncompressed(const DibInfo& info, std::span<const uint8_t> pixels, Bitmap24& out,
                         const DibErrors& errors, std::vector<uint8_t>* alpha) {
  const size_t stride = dib_stride(info.width, info.bit_count);
  const size_t last_row_bytes = (static_cast<size_t>(info.width) * info.bit_count + 7) / 8;
  if (!has(pixels, stride * static_cast<size_t>(info.height - 1), last_row_bytes))
    throw SaverError(errors.not_valid);

  uint32_t masks[4] = {info.masks[0], info.masks[1], info.masks[2], info.masks[3]};
  if (info.compression == kBiRgb && info.bit_count == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F, masks[3] = 0;
  } else if (info.compression == kBiRgb && info.bit_count == 32) {
    masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF, masks[3] = 0xFF000000;
  }
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha_channel(masks[3]);
  const bool want_alpha = alpha != nullptr && info.bit_count == 32;
  if (want_alpha) alpha->assign(static_cast<size_t>(info.width) * info.height, 0);

  const PixelWriter writer(info, out);
  for (int32_t r = 0; r < info.height; ++r) {
    const uint8_t* src = pixels.data() + static_cast<size_t>(r) * stride;
    uint8_t* dst = writer.row(r);
    switch (info.bit_count) {
      case 24:
        std::memcpy(dst, src, static_cast<size_t>(info.width) * 3);
        break;
      case 16:
      case 32: {
        const int bytes = info.bit_count / 8;
        uint8_t* alpha_row = nullptr;
        if (want_alpha) {
          const int32_t y = info.top_down ? r : info.height - 1 - r;
          alpha_row = alpha->data() + static_cast<size_t>(y) * info.width;
        }
        for (int32_t x = 0; x < info.width; ++x, src += bytes, dst += 3) {
          const uint32_t px = bytes == 2 ? le16({src, 2}, 0) : le32({src, 4}, 0);
          dst[0] = blue(px);
          dst[1] = green(px);
          dst[2] = red(px);
          if (alpha_row) alpha_row[x] = alpha_channel(px);
        }
        break;
      }
      default:
        decode_indexed_row(info, src, dst);
        break;
    }
  }
}

// Run-length data: pairs of (count, value) runs and escapes (0, 0) end of line, (0, 1) end of
// bitmap, (0, 2, dx, dy) move, (0, n) n literal pixels padded to a 16-bit boundary. Pixels that a
// move or an early end skips stay black. Data that ends without the end-of-bitmap escape simply
// ends the picture there.
void decode_rle(const DibInfo& info, std::span<const uint8_t> data, Bitmap24& out) {
  const bool four_bit = info.compression == kBiRle4;
  const PixelWriter writer(info, out);
  int64_t x = 0;
  int64_t r = 0;
  auto put = [&](unsigned index) {
    if (x < info.width && r < info.height)
      PixelWriter::put_index(writer.row(r), static_cast<int32_t>(x), info, index);
    ++x;
  };
  size_t i = 0;
  const size_t n = data.size();
  while (i + 2 <= n && r < info.height) {
    const unsigned count = data[i];
    const unsigned value = data[i + 1];
    i += 2;
    if (count > 0) {
      for (unsigned k = 0; k < count; ++k)
        put(four_bit ? ((k & 1) ? value & 15 : value >> 4) : value);
      continue;
    }
    switch (value) {
      case 0:  // end of line
        x = 0;
        ++r;
        break;
      case 1:  // end of bitmap
        return;
      case 2:  // move right and up
        if (i + 2 > n) return;
        x += data[i];
        r += data[i + 1];
        i += 2;
        break;
      default: {  // literal run
        const size_t bytes = four_bit ? (value + 1) / 2 : value;
        const size_t available = std::min(bytes, n - i);
        for (unsigned k = 0; k < value; ++k) {
          const size_t at = four_bit ? k / 2 : k;
          if (at >= available) return;
          put(four_bit ? ((k & 1) ? data[i + at] & 15 : data[i + at] >> 4) : data[i + at]);
        }
        i += bytes + (bytes & 1);
        break;
      }
    }
  }
}

}  // namespace

size_t dib_stride(int32_t width, int bit_count) {
  return (static_cast<size_t>(width) * static_cast<size_t>(bit_count) + 31) / 32 * 4;
}

DibInfo parse_dib_header(std::span<const uint8_t> dib, const DibErrors& errors, bool halve_height) {
  auto fail = [&]() -> void { throw SaverError(errors.not_valid); };
  if (!has(dib, 0, 4)) fail();
  const uint32_t header_size = le32(dib, 0);
  DibInfo info;
  int64_t width = 0;
  int64_t height = 0;
  uint32_t colors_used = 0;
  if (header_size == kCoreHeaderSize) {
    if (!has(dib, 0, kCoreHeaderSize)) fail();
    width = le16(dib, 4);
    height = le16(dib, 6);
    info.bit_count = le16(dib, 10);
    info.palette_entry_size = 3;
    if (info.bit_count != 1 && info.bit_count != 4 && info.bit_count != 8 && info.bit_count != 24)
      fail();
  } else if (known_info_header_size(header_size)) {
    if (!has(dib, 0, header_size)) fail();
    width = static_cast<int32_t>(le32(dib, 4));
    height = static_cast<int32_t>(le32(dib, 8));
    info.bit_count = le16(dib, 14);
    info.compression = le32(dib, 16);
    colors_used = le32(dib, 32);
  } else {
    fail();
  }

  if (height < 0) {
    info.top_down = true;
    height = -height;
  }
  if (halve_height) {
    if (info.top_down) fail();
    height /= 2;
  }
  if (width <= 0 || height <= 0) fail();
  if (!depth_fits_compression(info.bit_count, info.compression, info.top_down)) fail();
  if (!picture_size_allowed(width, height)) throw SaverError(errors.too_large);
  info.width = static_cast<int32_t>(width);
  info.height = static_cast<int32_t>(height);

  size_t offset = header_size;
  if (info.compression == kBiBitfields) {
    if (header_size == 40) {
      // The plain header keeps its three masks just after it.
      if (!has(dib, offset, 12)) fail();
      for (int c = 0; c < 3; ++c) info.masks[c] = le32(dib, offset + 4 * c);
      offset += 12;
    } else {
      for (int c = 0; c < 3; ++c) info.masks[c] = le32(dib, 40 + 4 * c);
      if (header_size >= 56) info.masks[3] = le32(dib, 52);
    }
  }

  info.palette_offset = offset;
  const size_t entry = info.palette_entry_size;
  size_t declared = colors_used;
  if (info.bit_count <= 8) {
    const size_t full = size_t{1} << info.bit_count;
    declared = colors_used == 0 ? full : std::min<size_t>(colors_used, full);
  }
  // A table cut short by the end of the data keeps the entries that are there.
  const size_t fitting = offset <= dib.size() ? (dib.size() - offset) / entry : 0;
  const size_t present = std::min(declared, fitting);
  if (info.bit_count <= 8) {
    info.palette.resize(present);
    for (size_t k = 0; k < present; ++k) {
      const uint8_t* p = dib.data() + offset + k * entry;
      info.palette[k] = {p[0], p[1], p[2]};
    }
  }
  info.pixels_offset = offset + present * entry;
  return info;
}

void decode_dib_pixels(const DibInfo& info, std::span<const uint8_t> pixels, Bitmap24& out,
                       const DibErrors& errors, std::vector<uint8_t>* alpha) {
  out.resize(info.width, info.height);
  if (alpha) alpha->clear();
  if (info.compression == kBiRle8 || info.compression == kBiRle4)
    decode_rle(info, pixels, out);
  else
    decode_uncompressed(info, pixels, out, errors, alpha);
}

Bitmap24 decode_bmp_file(std::span<const uint8_t> file) {
  const DibErrors errors;
  if (!has(file, 0, kFileHeaderSize) || file[0] != 'B' || file[1] != 'M')
    throw SaverError(errors.not_valid);
  const uint32_t off_bits = le32(file, 10);
  DibInfo info = parse_dib_header(file.subspan(kFileHeaderSize), errors);

  // The file header's pixel offset wins when it is plausible; writers that leave out part of
  // the colour table say so only there.
  size_t pixels_at = kFileHeaderSize + info.pixels_offset;
  if (off_bits >= kFileHeaderSize + info.palette_offset && off_bits <= file.size()) {
    if (off_bits < pixels_at && info.bit_count <= 8) {
      const size_t room =
          (off_bits - kFileHeaderSize - info.palette_offset) / info.palette_entry_size;
      if (room < info.palette.size()) info.palette.resize(room);
    }
    pixels_at = off_bits;
  }
  Bitmap24 out;
  decode_dib_pixels(info, file.subspan(std::min<size_t>(pixels_at, file.size())), out, errors);
  return out;
}

}  // namespace ss
