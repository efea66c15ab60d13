#pragma once
// The settings every timer of the GUI thread shares, and when they restart its count: a set
// that changes the interval, the enabled state or whether there is a handler restarts it, and a
// set that changes nothing leaves it alone (as the framework's timer component does). A timer
// with interval 0 or no handler never fires. A backend supplies restart().
#include <cstdint>
#include <functional>

#include "platform/application.h"

namespace ss {

class TimerRules : public Timer {
 public:
  void set_interval(uint32_t interval_ms) override;
  uint32_t interval() const override { return interval_ms_; }
  void set_enabled(bool enabled) override;
  bool enabled() const override { return enabled_; }
  void set_handler(std::function<void()> on_timer) override;

  // True when the timer fires at all.
  bool running() const { return enabled_ && interval_ms_ != 0 && handler_; }
  // A copy of the handler: the handler may destroy the timer, so the call keeps its own.
  std::function<void()> handler() const { return handler_; }

 protected:
  // Starts the count afresh, or stops the timer when it is not running().
  virtual void restart() = 0;

 private:
  uint32_t interval_ms_ = 1000;
  bool enabled_ = true;
  std::function<void()> handler_;
};

}  // namespace ss
