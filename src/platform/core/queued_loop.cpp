#include "platform/core/queued_loop.h"

#include <algorithm>
#include <iterator>

namespace ss {

QueuedLoop::QueuedLoop() : gui_thread_(std::this_thread::get_id()) {}

QueuedLoop::Time QueuedLoop::now() const {
  return std::chrono::steady_clock::now().time_since_epoch();
}

bool QueuedLoop::serve_requests(uint32_t timeout_ms) {
  tasks_.wait_until(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms), true);
  return tasks_.run_requests();
}

void QueuedLoop::post(Task task) {
  tasks_.post(std::move(task));
  wake();
}

void QueuedLoop::queue(Task task) {
  tasks_.queue_request(std::move(task));
  wake();
}

void QueuedLoop::synchronize(const Task& task) {
  if (is_gui_thread()) {
    task();
    return;
  }
  // Woken once queued, so that a GUI thread asleep in the system's wait serves it too.
  tasks_.synchronize(task, [this] { wake(); });
}

bool QueuedLoop::is_gui_thread() const {
  return std::this_thread::get_id() == gui_thread_;
}

void QueuedLoop::post_after(uint32_t delay_ms, Task task) {
  timers_.push_back({now() + std::chrono::milliseconds(delay_ms), timers_set_++, std::move(task)});
}

void QueuedLoop::post_due_timers() {
  if (timers_.empty()) return;
  const Time at = now();
  const auto first_due = std::stable_partition(timers_.begin(), timers_.end(),
                                               [&](const DueTimer& t) { return t.due > at; });
  std::vector<DueTimer> due(std::make_move_iterator(first_due),
                            std::make_move_iterator(timers_.end()));
  timers_.erase(first_due, timers_.end());
  std::sort(due.begin(), due.end(), [](const DueTimer& a, const DueTimer& b) {
    return a.due != b.due ? a.due < b.due : a.order < b.order;
  });
  for (DueTimer& t : due) tasks_.post(std::move(t.task));
}

std::optional<QueuedLoop::Time> QueuedLoop::next_timer_in() const {
  if (timers_.empty()) return std::nullopt;
  const auto next =
      std::min_element(timers_.begin(), timers_.end(),
                       [](const DueTimer& a, const DueTimer& b) { return a.due < b.due; });
  return next->due - now();
}

}  // namespace ss
