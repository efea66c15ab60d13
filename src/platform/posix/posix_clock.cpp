#include "platform/posix/posix_clock.h"

#include <chrono>

namespace ss {

uint32_t PosixClock::tick_count() const {
  const auto since_epoch = std::chrono::steady_clock::now().time_since_epoch();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count();
  return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

}  // namespace ss
