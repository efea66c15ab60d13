#include "platform/sdl/sdl_loop.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <iterator>
#include <limits>

namespace ss {
namespace {

// SDL takes its timeout as an int of milliseconds.
constexpr uint32_t kLongestWaitMs = std::numeric_limits<int32_t>::max();

}  // namespace

SdlLoop::SdlLoop() : gui_thread_(std::this_thread::get_id()) {
  wake_event_ = SDL_RegisterEvents(1);
}

void SdlLoop::move_sdl_events() {
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    if (event.type == wake_event_) {
      // A task posted before this point is in the queue already; a later one wakes again.
      wake_pending_ = false;
      continue;
    }
    if (on_event_) tasks_.post([handler = on_event_, event] { handler(event); });
  }
}

void SdlLoop::post_due_timers() {
  const Deadline now = std::chrono::steady_clock::now();
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

bool SdlLoop::process_messages() {
  move_sdl_events();
  post_due_timers();
  return tasks_.run_all();
}

bool SdlLoop::wait_message(uint32_t timeout_ms) {
  post_due_timers();
  if (tasks_.has_any()) return true;
  uint32_t wait_ms = std::min(timeout_ms, kLongestWaitMs);
  if (!timers_.empty()) {
    const auto next = std::min_element(timers_.begin(), timers_.end(),
                                       [](auto& a, auto& b) { return a.due < b.due; });
    const auto left = next->due - std::chrono::steady_clock::now();
    // Rounded up, so that a timer due in half a millisecond does not make the loop spin.
    const auto left_ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    wait_ms = static_cast<uint32_t>(std::clamp<int64_t>(left_ms, 0, wait_ms));
  }
  const bool event = SDL_WaitEventTimeout(nullptr, static_cast<int>(wait_ms)) != 0;
  post_due_timers();
  return event || tasks_.has_any();
}

bool SdlLoop::serve_requests(uint32_t timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  tasks_.wait_until(deadline, true);
  return tasks_.run_requests();
}

void SdlLoop::wake() {
  if (is_gui_thread() || wake_pending_.exchange(true)) return;
  SDL_Event event{};
  event.type = wake_event_;
  if (SDL_PushEvent(&event) != 1) wake_pending_ = false;
}

void SdlLoop::post(Task task) {
  tasks_.post(std::move(task));
  wake();
}

void SdlLoop::queue(Task task) {
  tasks_.queue_request(std::move(task));
  wake();
}

void SdlLoop::synchronize(const Task& task) {
  if (is_gui_thread()) {
    task();
    return;
  }
  // Woken once queued, so that a GUI thread asleep in the system's wait serves it too.
  tasks_.synchronize(task, [this] { wake(); });
}

bool SdlLoop::is_gui_thread() const {
  return std::this_thread::get_id() == gui_thread_;
}

void SdlLoop::post_after(uint32_t delay_ms, Task task) {
  const Deadline due = std::chrono::steady_clock::now() + std::chrono::milliseconds(delay_ms);
  timers_.push_back({due, timers_set_++, std::move(task)});
}

}  // namespace ss
