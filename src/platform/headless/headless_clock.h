#pragma once
// A virtual tick count for tests. It stands still until the headless loop moves it, which it
// does only while waiting, so a test sees exactly the time its waits account for. The start
// value may be set near 2^32 to exercise the wrap.
#include <atomic>
#include <cstdint>

#include "platform/clock.h"

namespace ss {

class HeadlessClock final : public Clock {
 public:
  explicit HeadlessClock(uint32_t start_tick = 0) : start_(start_tick) {}

  uint32_t tick_count() const override;
  // Virtual milliseconds since construction, never wrapping.
  uint64_t elapsed_ms() const { return elapsed_.load(); }
  void advance(uint64_t ms) { elapsed_.fetch_add(ms); }

 private:
  uint32_t start_;
  std::atomic<uint64_t> elapsed_{0};
};

}  // namespace ss
