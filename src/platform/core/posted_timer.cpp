#include "platform/core/posted_timer.h"

namespace ss {

PostedTimer::PostedTimer(const Application& app, PostGuardedAfter post_after)
    : state_(std::make_shared<State>(State{.app = app, .post_after = std::move(post_after)})) {}

PostedTimer::~PostedTimer() {
  ++state_->generation;
}

void PostedTimer::set_interval(uint32_t interval_ms) {
  if (state_->interval_ms == interval_ms) return;
  state_->interval_ms = interval_ms;
  schedule(state_);
}

void PostedTimer::set_enabled(bool enabled) {
  if (state_->enabled == enabled) return;
  state_->enabled = enabled;
  schedule(state_);
}

void PostedTimer::set_handler(std::function<void()> on_timer) {
  const bool had_handler = static_cast<bool>(state_->handler);
  state_->handler = std::move(on_timer);
  if (had_handler != static_cast<bool>(state_->handler)) schedule(state_);
}

void PostedTimer::schedule(const std::shared_ptr<State>& state) {
  const uint64_t generation = ++state->generation;
  if (!state->enabled || state->interval_ms == 0 || !state->handler) return;
  std::weak_ptr<State> weak = state;
  state->post_after(state->interval_ms, [weak, generation] {
    const std::shared_ptr<State> s = weak.lock();
    // Disabled, restarted or destroyed since this period began, or the run is over.
    if (!s || s->generation != generation || s->app.terminated()) return;
    schedule(s);
    // The handler may destroy the timer: keep what it needs alive through the call.
    const std::function<void()> handler = s->handler;
    handler();
  });
}

}  // namespace ss
