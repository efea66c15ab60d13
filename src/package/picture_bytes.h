#pragma once
// Bounded little-endian reads for the picture decoders. Every read checks what is left first;
// running short raises the decoder's own error text instead of reading past the end.
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/error.h"

namespace ss {

// Reads at fixed offsets; callers check has() before reading a header field.
inline bool has(std::span<const uint8_t> bytes, size_t offset, size_t count) {
  return offset <= bytes.size() && count <= bytes.size() - offset;
}
inline uint16_t le16(std::span<const uint8_t> bytes, size_t offset) {
  return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}
inline uint32_t le32(std::span<const uint8_t> bytes, size_t offset) {
  return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
         static_cast<uint32_t>(bytes[offset + 2]) << 16 |
         static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

// A forward cursor that raises `error` when the bytes run out.
class PictureCursor {
 public:
  PictureCursor(std::span<const uint8_t> bytes, const char* error) : bytes_(bytes), error_(error) {}

  size_t remaining() const { return bytes_.size() - position_; }
  size_t position() const { return position_; }

  uint8_t u8() { return take(1)[0]; }
  uint16_t u16() { return le16(take(2), 0); }
  uint32_t u32() { return le32(take(4), 0); }

  std::span<const uint8_t> take(size_t count) {
    if (count > remaining()) throw SaverError(error_);
    const auto part = bytes_.subspan(position_, count);
    position_ += count;
    return part;
  }
  std::span<const uint8_t> rest() { return take(remaining()); }

 private:
  std::span<const uint8_t> bytes_;
  size_t position_ = 0;
  const char* error_;
};

}  // namespace ss
