#pragma once
// A timer on the virtual clock. Each period is one message posted when it is due; changing the
// interval or the enabled state restarts the count, and a set that changes nothing leaves it
// alone (as the framework's timer component does). A timer with interval 0 or no handler never
// fires. The next period is counted from the moment the message runs, before the handler.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/application.h"

namespace ss {

class HeadlessApplication;

class HeadlessTimer final : public Timer {
 public:
  explicit HeadlessTimer(HeadlessApplication& app);
  ~HeadlessTimer() override;

  void set_interval(uint32_t interval_ms) override;
  uint32_t interval() const override { return state_->interval_ms; }
  void set_enabled(bool enabled) override;
  bool enabled() const override { return state_->enabled; }
  void set_handler(std::function<void()> on_timer) override;

  // How often the handler has run.
  int fired() const { return state_->fired; }

 private:
  struct State {
    uint32_t interval_ms = 1000;
    bool enabled = true;
    std::function<void()> handler;
    uint64_t generation = 0;  // bumped by every restart; a stale period does nothing
    int fired = 0;
  };
  static void schedule(HeadlessApplication& app, const std::shared_ptr<State>& state);

  HeadlessApplication& app_;
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace ss
