#include "platform/sdl/sdl_timer.h"

#include "platform/sdl/sdl_application.h"

namespace ss {

SdlTimer::SdlTimer(SdlApplication& app) : app_(app) {}

SdlTimer::~SdlTimer() {
  ++state_->generation;
}

void SdlTimer::set_interval(uint32_t interval_ms) {
  if (state_->interval_ms == interval_ms) return;
  state_->interval_ms = interval_ms;
  schedule(app_, state_);
}

void SdlTimer::set_enabled(bool enabled) {
  if (state_->enabled == enabled) return;
  state_->enabled = enabled;
  schedule(app_, state_);
}

void SdlTimer::set_handler(std::function<void()> on_timer) {
  const bool had_handler = static_cast<bool>(state_->handler);
  state_->handler = std::move(on_timer);
  if (had_handler != static_cast<bool>(state_->handler)) schedule(app_, state_);
}

void SdlTimer::schedule(SdlApplication& app, const std::shared_ptr<State>& state) {
  const uint64_t generation = ++state->generation;
  if (!state->enabled || state->interval_ms == 0 || !state->handler) return;
  std::weak_ptr<State> weak = state;
  app.sdl_loop().post_after(state->interval_ms, [&app, weak, generation] {
    const std::shared_ptr<State> s = weak.lock();
    // Disabled, restarted or destroyed since this period began, or the run is over.
    if (!s || s->generation != generation || app.terminated()) return;
    schedule(app, s);
    // The handler may destroy the timer: keep what it needs alive through the call.
    const std::function<void()> handler = s->handler;
    app.guarded(handler)();
  });
}

}  // namespace ss
