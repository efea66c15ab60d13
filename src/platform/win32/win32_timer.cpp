#include "platform/win32/win32_timer.h"

#include "platform/win32/win32_application.h"

namespace ss {

Win32Timer::Win32Timer(Win32Application& application)
    : application_(application), id_(application.add_timer(this)) {}

Win32Timer::~Win32Timer() {
  KillTimer(application_.message_window(), id_);
  application_.remove_timer(id_);
}

void Win32Timer::restart() {
  const HWND window = application_.message_window();
  if (!running()) {
    KillTimer(window, id_);
    return;
  }
  // Setting an existing timer again starts its count afresh.
  SetTimer(window, id_, interval(), nullptr);
}

void Win32Timer::fire() {
  if (!running()) return;
  application_.run_guarded(handler());
}

}  // namespace ss
