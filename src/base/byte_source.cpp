#include "base/byte_source.h"

#include <algorithm>
#include <cstring>

namespace ss {

size_t MemorySource::read(void* buffer, size_t n) {
  if (position_ >= size()) return 0;
  const size_t count = std::min(n, static_cast<size_t>(size() - position_));
  std::memcpy(buffer, bytes_.data() + position_, count);
  position_ += static_cast<int64_t>(count);
  return count;
}

}  // namespace ss
