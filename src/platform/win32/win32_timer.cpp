#include "platform/win32/win32_timer.h"

#include "platform/win32/win32_application.h"

namespace ss {

Win32Timer::Win32Timer(Win32Application& application)
    : application_(application), id_(application.add_timer(this)) {}

Win32Timer::~Win32Timer() {
  KillTimer(application_.message_window(), id_);
  application_.remove_timer(id_);
}

void Win32Timer::set_interval(uint32_t interval_ms) {
  if (interval_ms_ == interval_ms) return;
  interval_ms_ = interval_ms;
  restart();
}

void Win32Timer::set_enabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  restart();
}

void Win32Timer::set_handler(std::function<void()> on_timer) {
  const bool had_handler = static_cast<bool>(handler_);
  handler_ = std::move(on_timer);
  if (had_handler != static_cast<bool>(handler_)) restart();
}

void Win32Timer::restart() {
  const HWND window = application_.message_window();
  if (!enabled_ || interval_ms_ == 0 || !handler_) {
    KillTimer(window, id_);
    return;
  }
  // Setting an existing timer again starts its count afresh.
  SetTimer(window, id_, interval_ms_, nullptr);
}

void Win32Timer::fire() {
  if (!enabled_ || interval_ms_ == 0 || !handler_) return;
  // The handler may destroy the timer: keep what it needs alive through the call.
  const std::function<void()> handler = handler_;
  application_.guarded(handler);
}

}  // namespace ss
