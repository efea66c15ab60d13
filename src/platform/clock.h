#pragma once
// The millisecond tick count that paces animation frames. It wraps at 2^32 like the system's
// tick counter, so elapsed times are always taken as an unsigned difference.
#include <cstdint>

namespace ss {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start, modulo 2^32. Callable from any thread.
  virtual uint32_t tick_count() const = 0;
};

// Milliseconds from `since` to `now`, correct across one wrap of the counter.
constexpr uint32_t ticks_between(uint32_t since, uint32_t now) {
  return now - since;
}

}  // namespace ss
