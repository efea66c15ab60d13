#pragma once
// A seekable source of bytes: an open executable file, or memory in tests and fuzzing.
// Readers never trust a length from the source; they check it against what is left.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ss {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to n bytes at the current position; returns how many arrived.
  virtual size_t read(void* buffer, size_t n) = 0;
  virtual void seek(int64_t position) = 0;
  virtual int64_t position() const = 0;
  virtual int64_t size() const = 0;

  int64_t remaining() const {
    const int64_t left = size() - position();
    return left > 0 ? left : 0;
  }
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  size_t read(void* buffer, size_t n) override;
  void seek(int64_t position) override { position_ = position < 0 ? 0 : position; }
  int64_t position() const override { return position_; }
  int64_t size() const override { return static_cast<int64_t>(bytes_.size()); }

 private:
  std::span<const uint8_t> bytes_;
  int64_t position_ = 0;
};

}  // namespace ss
