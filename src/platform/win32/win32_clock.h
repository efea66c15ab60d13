#pragma once
// The system's millisecond tick count, which wraps after 49.7 days like the clock interface.
#include "platform/clock.h"

namespace ss {

class Win32Clock final : public Clock {
 public:
  uint32_t tick_count() const override;
};

}  // namespace ss
