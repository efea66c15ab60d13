#include "package/buffered_reader.h"

#include <cstring>

#include "base/error.h"

namespace ss {

BufferedReader::BufferedReader(ByteSource& source) : source_(source), origin_(source.position()) {}

BufferedReader::~BufferedReader() {
  try {
    source_.seek(position());
  } catch (...) {
    // A destructor must not throw; the caller's next read reports a broken source anyway.
  }
}

void BufferedReader::refill() {
  origin_ += static_cast<int64_t>(end_);
  pos_ = 0;
  end_ = source_.read(buffer_.data(), buffer_.size());
  if (end_ == 0) throw SaverError(kStreamReadError);
}

void BufferedReader::drop_buffer() {
  if (end_ != pos_) source_.seek(position());
  origin_ = position();
  pos_ = end_ = 0;
}

void BufferedReader::read(void* destination, size_t count) {
  auto* out = static_cast<uint8_t*>(destination);
  const size_t buffered = end_ - pos_;
  if (count <= buffered) {
    if (count) std::memcpy(out, buffer_.data() + pos_, count);
    pos_ += count;
    return;
  }
  if (buffered) std::memcpy(out, buffer_.data() + pos_, buffered);
  pos_ = end_;
  out += buffered;
  count -= buffered;
  if (count < kBlockSize) {
    // Small tail: through the buffer, so that the next reads stay cheap.
    while (count) {
      refill();
      const size_t n = count < end_ ? count : end_;
      std::memcpy(out, buffer_.data(), n);
      pos_ = n;
      out += n;
      count -= n;
    }
    return;
  }
  // Large payloads go straight from the source into place.
  drop_buffer();
  const size_t got = source_.read(out, count);
  origin_ += static_cast<int64_t>(got);
  if (got < count) throw SaverError(kStreamReadError);
}

void BufferedReader::skip(uint64_t count) {
  const size_t buffered = end_ - pos_;
  if (count <= buffered) {
    pos_ += static_cast<size_t>(count);
    return;
  }
  require(count);
  pos_ = end_;
  drop_buffer();
  origin_ += static_cast<int64_t>(count - buffered);
  source_.seek(origin_);
}

uint16_t BufferedReader::read_u16() {
  uint8_t b[2];
  read(b, 2);
  return static_cast<uint16_t>(b[0] | b[1] << 8);
}

uint32_t BufferedReader::read_u32() {
  uint8_t b[4];
  read(b, 4);
  return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
}

uint64_t BufferedReader::read_u64() {
  const uint64_t low = read_u32();
  return low | uint64_t{read_u32()} << 32;
}

uint64_t BufferedReader::remaining() const {
  return (end_ - pos_) + static_cast<uint64_t>(source_.remaining());
}

void BufferedReader::require(uint64_t count) const {
  if (count > remaining()) throw SaverError(kStreamReadError);
}

}  // namespace ss
