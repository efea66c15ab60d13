#pragma once
// A timer of the GUI thread: a system timer of the application's message window, restarted by
// the shared timer rules; when it does not run, the system timer is killed.
#include <windows.h>

#include "platform/core/timer_rules.h"

namespace ss {

class Win32Application;

class Win32Timer final : public TimerRules {
 public:
  explicit Win32Timer(Win32Application& application);
  ~Win32Timer() override;
  Win32Timer(const Win32Timer&) = delete;
  Win32Timer& operator=(const Win32Timer&) = delete;

  // The system timer's message arrived.
  void fire();

 private:
  void restart() override;

  Win32Application& application_;
  UINT_PTR id_;
};

}  // namespace ss
