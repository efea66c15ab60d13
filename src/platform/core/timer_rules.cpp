#include "platform/core/timer_rules.h"

namespace ss {

void TimerRules::set_interval(uint32_t interval_ms) {
  if (interval_ms_ == interval_ms) return;
  interval_ms_ = interval_ms;
  restart();
}

void TimerRules::set_enabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  restart();
}

void TimerRules::set_handler(std::function<void()> on_timer) {
  const bool had_handler = static_cast<bool>(handler_);
  handler_ = std::move(on_timer);
  if (had_handler != static_cast<bool>(handler_)) restart();
}

}  // namespace ss
