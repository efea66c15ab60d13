#include "platform/headless/headless_loop.h"

#include <algorithm>
#include <chrono>
#include <iterator>

namespace ss {
namespace {

// Real time an idle wait grants other threads to post, once any has.
constexpr std::chrono::milliseconds kRealGrace{1};
// run_until waits in slices of this much virtual time, so that threads get their grace often.
constexpr uint32_t kRunSliceMs = 10;

TaskQueue::Deadline real_deadline(std::chrono::milliseconds after) {
  return std::chrono::steady_clock::now() + after;
}

}  // namespace

HeadlessLoop::HeadlessLoop(HeadlessClock& clock)
    : clock_(clock), gui_thread_(std::this_thread::get_id()) {}

void HeadlessLoop::note_caller() {
  if (!is_gui_thread()) other_threads_seen_ = true;
}

void HeadlessLoop::post_due_timers() {
  const uint64_t now = clock_.elapsed_ms();
  const auto first_due = std::stable_partition(timers_.begin(), timers_.end(),
                                               [&](const Timer& t) { return t.due > now; });
  std::vector<Timer> due(std::make_move_iterator(first_due),
                         std::make_move_iterator(timers_.end()));
  timers_.erase(first_due, timers_.end());
  std::sort(due.begin(), due.end(), [](const Timer& a, const Timer& b) {
    return a.due != b.due ? a.due < b.due : a.order < b.order;
  });
  for (Timer& t : due) tasks_.post(std::move(t.task));
}

bool HeadlessLoop::process_messages() {
  post_due_timers();
  return tasks_.run_all();
}

bool HeadlessLoop::wait_message(uint32_t timeout_ms) {
  post_due_timers();
  if (tasks_.has_any()) return true;

  const uint64_t now = clock_.elapsed_ms();
  const auto next = std::min_element(timers_.begin(), timers_.end(),
                                     [](auto& a, auto& b) { return a.due < b.due; });
  if (next != timers_.end() && next->due - now <= timeout_ms) {
    clock_.advance(next->due - now);
    post_due_timers();
    return true;
  }
  if (other_threads_seen_ && timeout_ms > 0) {
    const auto grace = std::min(kRealGrace, std::chrono::milliseconds(timeout_ms));
    if (tasks_.wait_until(real_deadline(grace), false)) return true;
  }
  clock_.advance(timeout_ms);
  return false;
}

bool HeadlessLoop::serve_requests(uint32_t timeout_ms) {
  tasks_.wait_until(real_deadline(std::chrono::milliseconds(timeout_ms)), true);
  return tasks_.run_requests();
}

void HeadlessLoop::post(Task task) {
  note_caller();
  tasks_.post(std::move(task));
}

void HeadlessLoop::queue(Task task) {
  note_caller();
  tasks_.queue_request(std::move(task));
}

void HeadlessLoop::synchronize(const Task& task) {
  if (is_gui_thread()) {
    task();
    return;
  }
  other_threads_seen_ = true;
  tasks_.synchronize(task);
}

bool HeadlessLoop::is_gui_thread() const {
  return std::this_thread::get_id() == gui_thread_;
}

void HeadlessLoop::post_after(uint32_t delay_ms, Task task) {
  timers_.push_back({clock_.elapsed_ms() + delay_ms, timers_set_++, std::move(task)});
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
