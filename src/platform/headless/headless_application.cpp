#include "platform/headless/headless_application.h"

#include <algorithm>
#include <limits>

namespace ss {
namespace {

// The longest single wait of the outer loop, so that a run limit far away is still checked.
constexpr uint64_t kMaxWaitMs = 60'000;
// Message rounds in a row without the clock moving before a run counts as stalled.
constexpr int kMaxRoundsWithoutTime = 100'000;

}  // namespace

HeadlessApplication::HeadlessApplication(CallLog& log, uint32_t start_tick)
    : ApplicationCore(loop_, FirstShow::kPosted, kMaxWaitMs),
      log_(log),
      clock_(start_tick),
      loop_(clock_) {}

void HeadlessApplication::report_error(const std::string& message) {
  errors_.push_back(message);
  log_.add("app.error " + message);
  if (!during_error_box_ || error_box_up_) return;
  error_box_up_ = true;
  try {
    during_error_box_();
  } catch (...) {
    error_box_up_ = false;
    throw;
  }
  error_box_up_ = false;
}

void HeadlessApplication::run() {
  show_main_window_once();
  run_for(run_limit_ms_);
}

bool HeadlessApplication::run_for(uint64_t max_ms) {
  return pump([] { return false; }, max_ms);
}

bool HeadlessApplication::run_until(const std::function<bool()>& done, uint64_t max_ms) {
  return pump(done, max_ms);
}

bool HeadlessApplication::pump(const std::function<bool()>& done, uint64_t max_ms) {
  end_requested_ = false;
  hit_time_limit_ = false;
  const uint64_t start = clock_.elapsed_ms();
  const uint64_t limit = max_ms > std::numeric_limits<uint64_t>::max() - start
                             ? std::numeric_limits<uint64_t>::max()
                             : start + max_ms;
  bool idle_ran = false;
  uint64_t seen_at = start;
  int rounds_without_time = 0;
  for (;;) {
    if (terminated() || end_requested_ || done()) return true;
    if (clock_.elapsed_ms() != seen_at) {
      seen_at = clock_.elapsed_ms();
      rounds_without_time = 0;
    }
    if (++rounds_without_time > kMaxRoundsWithoutTime) {
      log_.add("app.stalled");
      return false;
    }
    if (process_reporting()) continue;
    if (!idle_ran) {
      idle_ran = true;
      ++idle_calls_;
      run_idle();
      continue;
    }
    const uint64_t now = clock_.elapsed_ms();
    if (now >= limit) {
      hit_time_limit_ = true;
      return false;
    }
    loop_.wait_message(static_cast<uint32_t>(std::min(limit - now, kMaxWaitMs)));
    idle_ran = false;
  }
}

}  // namespace ss
