#include "platform/core/posted_timer.h"

namespace ss {

PostedTimer::PostedTimer(const Application& app, PostGuardedAfter post_after)
    : state_(std::make_shared<State>(
          State{.app = app, .post_after = std::move(post_after), .timer = this})) {}

PostedTimer::~PostedTimer() {
  ++state_->generation;
}

void PostedTimer::schedule(const std::shared_ptr<State>& state) {
  const uint64_t generation = ++state->generation;
  if (!state->timer->running()) return;
  std::weak_ptr<State> weak = state;
  state->post_after(state->timer->interval(), [weak, generation] {
    const std::shared_ptr<State> s = weak.lock();
    // Disabled, restarted or destroyed since this period began, or the run is over.
    if (!s || s->generation != generation || s->app.terminated()) return;
    schedule(s);
    const std::function<void()> handler = s->timer->handler();
    handler();
  });
}

}  // namespace ss
