#pragma once
// The application object of the Windows backend: the GUI thread's loop, the timers (system
// timers of a hidden message-only window), the idle handler and the standard error report.
//
// run() is the shared run loop, sleeping until the next message; it also returns after WM_QUIT.
//
// Nothing may leave a window or hook procedure: every handler the system calls runs through
// run_guarded(), which shows an escaping error with report_error and lets the loop go on.
#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/core/application_core.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_loop.h"

namespace ss {

// Dialog-like top-level windows (the setup dialog): the loop hands each of their messages, and
// their children's, to IsDialogMessageA first, so that Tab, Enter and Escape move between and
// press their controls. Register after creating the window and unregister before destroying
// it; GUI thread only.
void register_dialog_window(HWND window);
void unregister_dialog_window(HWND window);
// True when a registered dialog took the message; the loop then neither translates nor
// dispatches it.
bool dispatch_to_dialog(MSG& message);

class Win32Timer;

class Win32Application final : public ApplicationCore {
 public:
  Win32Application();
  ~Win32Application() override;
  Win32Application(const Win32Application&) = delete;
  Win32Application& operator=(const Win32Application&) = delete;

  Clock& clock() override { return clock_; }
  std::unique_ptr<Timer> create_timer() override;
  void report_error(const std::string& message) override;

  // The backend's side.
  Win32Loop& win32_loop() { return loop_; }
  // The hidden message-only window that owns the timers.
  HWND message_window() const { return message_window_; }
  // The error box's caption: the executable's file name without its extension.
  const std::string& title() const { return title_; }

  // Timers register under an id of the message window.
  UINT_PTR add_timer(Win32Timer* timer);
  void remove_timer(UINT_PTR id);

 private:
  static LRESULT CALLBACK message_window_proc(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam);
  void fire_timer(UINT_PTR id);
  void terminated_now() override { loop_.wake(); }

  Win32Clock clock_;
  Win32Loop loop_;
  HWND message_window_ = nullptr;
  std::map<UINT_PTR, Win32Timer*> timers_;
  UINT_PTR next_timer_id_ = 1;
  std::string title_;
};

}  // namespace ss
