#include "common/bmp_encoder.h"

namespace ss {
namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> encode_bmp(const Bitmap24& image) {
  const uint32_t stride = static_cast<uint32_t>(image.stride());
  const uint32_t data_size = stride * static_cast<uint32_t>(image.height());
  std::vector<uint8_t> out;
  out.reserve(54 + data_size);
  out.push_back('B');
  out.push_back('M');
  put32(out, 54 + data_size);  // file size
  put32(out, 0);               // reserved
  put32(out, 54);              // offset of the pixels
  put32(out, 40);              // info header size
  put32(out, static_cast<uint32_t>(image.width()));
  put32(out, static_cast<uint32_t>(image.height()));  // positive: rows bottom-up
  put16(out, 1);                                      // planes
  put16(out, 24);                                     // bits per pixel
  put32(out, 0);                                      // uncompressed
  put32(out, data_size);
  put32(out, 3780);  // 96 pixels per inch
  put32(out, 3780);
  put32(out, 0);
  put32(out, 0);
  for (int32_t y = image.height() - 1; y >= 0; --y)
    out.insert(out.end(), image.row(y), image.row(y) + stride);
  return out;
}

}  // namespace ss
