#include "platform/sdl/sdl_loop.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <chrono>
#include <limits>

namespace ss {
namespace {

// SDL takes its timeout as an int of milliseconds.
constexpr uint32_t kLongestWaitMs = std::numeric_limits<int32_t>::max();

}  // namespace

SdlLoop::SdlLoop() {
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
    if (on_event_) tasks().post([handler = on_event_, event] { handler(event); });
  }
}

bool SdlLoop::process_messages() {
  move_sdl_events();
  post_due_timers();
  return tasks().run_all();
}

bool SdlLoop::wait_message(uint32_t timeout_ms) {
  post_due_timers();
  if (tasks().has_any()) return true;
  uint32_t wait_ms = std::min(timeout_ms, kLongestWaitMs);
  if (const std::optional<Time> left = next_timer_in()) {
    // Rounded up, so that a timer due in half a millisecond does not make the loop spin.
    const auto left_ms = std::chrono::ceil<std::chrono::milliseconds>(*left).count();
    wait_ms = static_cast<uint32_t>(std::clamp<int64_t>(left_ms, 0, wait_ms));
  }
  const bool event = SDL_WaitEventTimeout(nullptr, static_cast<int>(wait_ms)) != 0;
  post_due_timers();
  return event || tasks().has_any();
}

void SdlLoop::wake() {
  if (is_gui_thread() || wake_pending_.exchange(true)) return;
  SDL_Event event{};
  event.type = wake_event_;
  if (SDL_PushEvent(&event) != 1) wake_pending_ = false;
}

}  // namespace ss
