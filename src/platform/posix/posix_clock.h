#pragma once
// The native tick count: the monotonic clock in milliseconds, wrapped to 32 bits.
#include "platform/clock.h"

namespace ss {

class PosixClock final : public Clock {
 public:
  uint32_t tick_count() const override;
};

}  // namespace ss
