#pragma once
// The part of a message loop that every backend shares: our own queues of messages and of
// other threads' requests, the GUI thread, and one-shot timers that post a message once they
// are due. A backend adds how it waits and what the system's own queue holds, and wakes its
// wait in wake(), which runs after another thread has posted, queued or asked to synchronize.
#include <chrono>
#include <cstdint>
#include <optional>
#include <thread>
#include <vector>

#include "platform/core/task_queue.h"
#include "platform/message_loop.h"

namespace ss {

class QueuedLoop : public MessageLoop {
 public:
  bool serve_requests(uint32_t timeout_ms) override;
  void post(Task task) override;
  void queue(Task task) override;
  void synchronize(const Task& task) override;
  bool is_gui_thread() const override;

  // GUI thread: a message that becomes pending once delay_ms have passed on the loop's clock.
  // Timers due at the same time are posted in the order they were set.
  void post_after(uint32_t delay_ms, Task task);
  size_t pending_timers() const { return timers_.size(); }

 protected:
  using Time = std::chrono::nanoseconds;

  // The thread that creates the loop is its GUI thread.
  QueuedLoop();
  ~QueuedLoop() override = default;

  virtual void wake() {}
  // The loop's clock; real time unless a backend keeps its own.
  virtual Time now() const;

  // GUI thread: moves the timers that are due into the message queue.
  void post_due_timers();
  // How long until the next timer is due (zero or less: due now); none without timers.
  std::optional<Time> next_timer_in() const;
  TaskQueue& tasks() { return tasks_; }
  const TaskQueue& tasks() const { return tasks_; }

 private:
  struct DueTimer {
    Time due;
    uint64_t order;
    Task task;
  };

  std::thread::id gui_thread_;
  TaskQueue tasks_;
  std::vector<DueTimer> timers_;  // GUI thread only
  uint64_t timers_set_ = 0;
};

}  // namespace ss
