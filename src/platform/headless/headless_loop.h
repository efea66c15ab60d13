#pragma once
// A message loop on a virtual clock. Nothing runs by itself: the test pumps. A wait with
// nothing pending moves the clock to the next timer, or by the whole timeout, and returns at
// once, so a transition of one virtual second runs in microseconds.
//
// Other threads live in real time. Once one has posted to the loop, an idle wait first gives
// them up to a millisecond of real time before it moves the clock, so a test waiting for an
// animation thread does not spin. serve_requests always waits in real time and leaves the
// clock alone.
#include <atomic>
#include <cstdint>
#include <functional>

#include "platform/core/queued_loop.h"
#include "platform/headless/headless_clock.h"

namespace ss {

class HeadlessLoop final : public QueuedLoop {
 public:
  // The thread that creates the loop is its GUI thread.
  explicit HeadlessLoop(HeadlessClock& clock) : clock_(clock) {}

  bool process_messages() override;
  bool wait_message(uint32_t timeout_ms) override;

  // For a test that starts a thread before that thread first posts: idle waits grant other
  // threads their real-time grace from now on.
  void expect_other_threads() { other_threads_seen_ = true; }
  // GUI thread: processes messages and waits until done() holds or max_ms of virtual time
  // have passed. Returns done().
  bool run_until(const std::function<bool()>& done, uint32_t max_ms = 60'000);

 private:
  void wake() override;
  Time now() const override { return std::chrono::milliseconds(clock_.elapsed_ms()); }

  HeadlessClock& clock_;
  std::atomic<bool> other_threads_seen_{false};
};

}  // namespace ss
