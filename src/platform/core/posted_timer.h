#pragma once
// A timer of the GUI thread for a loop that can post a message after a delay. Each period is
// one such message; changing the interval or the enabled state restarts the count, and a set
// that changes nothing leaves it alone (as the framework's timer component does). A timer with
// interval 0 or no handler never fires. The next period is counted from the moment the message
// runs, before the handler. Nothing fires once the application has terminated.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/application.h"

namespace ss {

class PostedTimer final : public Timer {
 public:
  // Posts task after delay_ms; an error of the task is reported, not propagated.
  using PostGuardedAfter = std::function<void(uint32_t delay_ms, MessageLoop::Task task)>;

  PostedTimer(const Application& app, PostGuardedAfter post_after);
  ~PostedTimer() override;

  void set_interval(uint32_t interval_ms) override;
  uint32_t interval() const override { return state_->interval_ms; }
  void set_enabled(bool enabled) override;
  bool enabled() const override { return state_->enabled; }
  void set_handler(std::function<void()> on_timer) override;

 private:
  struct State {
    const Application& app;
    PostGuardedAfter post_after;
    uint32_t interval_ms = 1000;
    bool enabled = true;
    std::function<void()> handler;
    uint64_t generation = 0;  // bumped by every restart; a stale period does nothing
  };
  static void schedule(const std::shared_ptr<State>& state);

  std::shared_ptr<State> state_;
};

}  // namespace ss
