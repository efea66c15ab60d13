#include "platform/headless/headless_clock.h"

namespace ss {

uint32_t HeadlessClock::tick_count() const {
  return static_cast<uint32_t>(start_ + elapsed_.load());
}

}  // namespace ss
