#pragma once
// A timer of the GUI thread: a system timer of the application's message window. Changing the
// interval, the enabled state or whether there is a handler restarts the count; a set that
// changes nothing leaves it alone. Interval 0 or no handler: the system timer is killed.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/application.h"

namespace ss {

class Win32Application;

class Win32Timer final : public Timer {
 public:
  explicit Win32Timer(Win32Application& application);
  ~Win32Timer() override;
  Win32Timer(const Win32Timer&) = delete;
  Win32Timer& operator=(const Win32Timer&) = delete;

  void set_interval(uint32_t interval_ms) override;
  uint32_t interval() const override { return interval_ms_; }
  void set_enabled(bool enabled) override;
  bool enabled() const override { return enabled_; }
  void set_handler(std::function<void()> on_timer) override;

  // The system timer's message arrived.
  void fire();

 private:
  void restart();

  Win32Application& application_;
  UINT_PTR id_;
  uint32_t interval_ms_ = 1000;
  bool enabled_ = true;
  std::function<void()> handler_;
};

}  // namespace ss
