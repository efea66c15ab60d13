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
#include <thread>
#include <vector>

#include "platform/headless/headless_clock.h"
#include "platform/message_loop.h"
#include "platform/core/task_queue.h"

namespace ss {

class HeadlessLoop final : public MessageLoop {
 public:
  // The thread that creates the loop is its GUI thread.
  explicit HeadlessLoop(HeadlessClock& clock);

  bool process_messages() override;
  bool wait_message(uint32_t timeout_ms) override;
  bool serve_requests(uint32_t timeout_ms) override;
  void post(Task task) override;
  void queue(Task task) override;
  void synchronize(const Task& task) override;
  bool is_gui_thread() const override;

  // For a test that starts a thread before that thread first posts: idle waits grant other
  // threads their real-time grace from now on.
  void expect_other_threads() { other_threads_seen_ = true; }
  // GUI thread: a message that becomes pending when the clock has moved on by delay_ms, like
  // a one-shot timer. Timers due at the same time are posted in the order they were set.
  void post_after(uint32_t delay_ms, Task task);
  size_t pending_timers() const { return timers_.size(); }
  // GUI thread: processes messages and waits until done() holds or max_ms of virtual time
  // have passed. Returns done().
  bool run_until(const std::function<bool()>& done, uint32_t max_ms = 60'000);

 private:
  struct Timer {
    uint64_t due;  // on the clock's elapsed_ms scale
    uint64_t order;
    Task task;
  };
  void post_due_timers();
  void note_caller();

  HeadlessClock& clock_;
  std::thread::id gui_thread_;
  TaskQueue tasks_;
  std::vector<Timer> timers_;  // GUI thread only
  uint64_t timers_set_ = 0;
  std::atomic<bool> other_threads_seen_{false};
};

}  // namespace ss
