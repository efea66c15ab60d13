#pragma once
// Buffered, bounded reading from a ByteSource: the property stream reader takes its bytes from
// the executable in blocks of 4096 and gives back what it did not consume when it is done, so
// that the caller can go on with the same open file.
#include <array>
#include <cstddef>
#include <cstdint>

#include "base/byte_source.h"

namespace ss {

class BufferedReader {
 public:
  static constexpr size_t kBlockSize = 4096;

  explicit BufferedReader(ByteSource& source);
  // Leaves the source just after the last byte consumed, also when reading ended in an error.
  ~BufferedReader();
  BufferedReader(const BufferedReader&) = delete;
  BufferedReader& operator=(const BufferedReader&) = delete;

  // Each of these raises "Stream read error" when the source ends first.
  uint8_t read_byte() {
    if (pos_ == end_) refill();
    return buffer_[pos_++];
  }
  uint8_t peek_byte() {
    if (pos_ == end_) refill();
    return buffer_[pos_];
  }
  void read(void* destination, size_t count);
  void skip(uint64_t count);
  uint16_t read_u16();
  uint32_t read_u32();
  uint64_t read_u64();

  // Raises "Stream read error" unless at least `count` bytes are left; lengths read from the
  // stream go through this before anything is allocated for them.
  void require(uint64_t count) const;
  uint64_t remaining() const;
  // The source offset of the next byte to be consumed.
  int64_t position() const { return origin_ + static_cast<int64_t>(pos_); }

 private:
  void refill();
  // Forgets the buffered bytes after the consumed ones; the source then stands at position().
  void drop_buffer();

  ByteSource& source_;
  std::array<uint8_t, kBlockSize> buffer_;
  size_t pos_ = 0;
  size_t end_ = 0;
  int64_t origin_;  // source offset of buffer_[0]
};

}  // namespace ss
