#include "platform/headless/headless_loop.h"

#include <algorithm>
#include <chrono>

namespace ss {
namespace {

// Real time an idle wait grants other threads to post, once any has.
constexpr std::chrono::milliseconds kRealGrace{1};
// run_until waits in slices of this much virtual time, so that threads get their grace often.
constexpr uint32_t kRunSliceMs = 10;

}  // namespace

void HeadlessLoop::wake() {
  if (!is_gui_thread()) other_threads_seen_ = true;
}

bool HeadlessLoop::process_messages() {
  post_due_timers();
  return tasks().run_all();
}

bool HeadlessLoop::wait_message(uint32_t timeout_ms) {
  post_due_timers();
  if (tasks().has_any()) return true;

  const std::optional<Time> next = next_timer_in();
  if (next && *next <= std::chrono::milliseconds(timeout_ms)) {
    clock_.advance(static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(*next).count()));
    post_due_timers();
    return true;
  }
  if (other_threads_seen_ && timeout_ms > 0) {
    const auto grace = std::min(kRealGrace, std::chrono::milliseconds(timeout_ms));
    if (tasks().wait_until(std::chrono::steady_clock::now() + grace, false)) return true;
  }
  clock_.advance(timeout_ms);
  return false;
}

bool HeadlessLoop::run_until(const std::function<bool()>& done, uint32_t max_ms) {
  const uint64_t limit = clock_.elapsed_ms() + max_ms;
  process_messages();
  while (!done()) {
    const uint64_t now = clock_.elapsed_ms();
    if (now >= limit) return false;
    wait_message(static_cast<uint32_t>(std::min<uint64_t>(limit - now, kRunSliceMs)));
    process_messages();
  }
  return true;
}

}  // namespace ss
