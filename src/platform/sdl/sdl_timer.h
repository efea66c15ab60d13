#pragma once
// A timer of the GUI thread in real time. Each period is one message of the loop's timer queue;
// changing the interval or the enabled state restarts the count, and a set that changes nothing
// leaves it alone. A timer with interval 0 or no handler never fires. The next period is counted
// from the moment the message runs, before the handler.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/application.h"

namespace ss {

class SdlApplication;

class SdlTimer final : public Timer {
 public:
  explicit SdlTimer(SdlApplication& app);
  ~SdlTimer() override;

  void set_interval(uint32_t interval_ms) override;
  uint32_t interval() const override { return state_->interval_ms; }
  void set_enabled(bool enabled) override;
  bool enabled() const override { return state_->enabled; }
  void set_handler(std::function<void()> on_timer) override;

 private:
  struct State {
    uint32_t interval_ms = 1000;
    bool enabled = true;
    std::function<void()> handler;
    uint64_t generation = 0;  // bumped by every restart; a stale period does nothing
  };
  static void schedule(SdlApplication& app, const std::shared_ptr<State>& state);

  SdlApplication& app_;
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace ss
