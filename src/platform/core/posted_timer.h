#pragma once
// A timer of the GUI thread for a loop that can post a message after a delay. Each period is
// one such message, and the next period is counted from the moment the message runs, before
// the handler. Nothing fires once the application has terminated.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/core/timer_rules.h"

namespace ss {

class PostedTimer final : public TimerRules {
 public:
  // Posts task after delay_ms; an error of the task is reported, not propagated.
  using PostGuardedAfter = std::function<void(uint32_t delay_ms, MessageLoop::Task task)>;

  PostedTimer(const Application& app, PostGuardedAfter post_after);
  ~PostedTimer() override;
  PostedTimer(const PostedTimer&) = delete;
  PostedTimer& operator=(const PostedTimer&) = delete;

 private:
  struct State {
    const Application& app;
    PostGuardedAfter post_after;
    PostedTimer* timer;
    uint64_t generation = 0;  // bumped by every restart; a stale period does nothing
  };
  void restart() override { schedule(state_); }
  static void schedule(const std::shared_ptr<State>& state);

  std::shared_ptr<State> state_;
};

}  // namespace ss
