#pragma once
// The application object of the Windows backend: the GUI thread's loop, the timers (system
// timers of a hidden message-only window), the idle handler and the standard error report.
//
// run() pumps like the framework's loop: process every pending message; when none is left, run
// the idle handler once; then sleep until the next message. It returns after terminate(), after
// WM_QUIT, or when the main window (the first show window) has closed.
//
// Nothing may leave a window or hook procedure: every handler the system calls runs through
// guarded(), which shows an escaping error with report_error and lets the loop go on.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/application.h"
#include "platform/show_window.h"
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

class Win32Application final : public Application {
 public:
  Win32Application();
  ~Win32Application() override;
  Win32Application(const Win32Application&) = delete;
  Win32Application& operator=(const Win32Application&) = delete;

  MessageLoop& loop() override { return loop_; }
  Clock& clock() override { return clock_; }
  std::unique_ptr<Timer> create_timer() override;
  void run() override;
  void terminate() override;
  bool terminated() const override { return terminated_; }
  void set_idle_handler(std::function<void()> on_idle) override { idle_ = std::move(on_idle); }
  void report_error(const std::string& message) override;

  // The backend's side.
  Win32Loop& win32_loop() { return loop_; }
  // Runs handler and reports whatever it throws; never throws itself.
  void guarded(const std::function<void()>& handler) noexcept;
  // The hidden message-only window that owns the timers.
  HWND message_window() const { return message_window_; }
  // The window whose closing ends run(); the platform sets it for its first window.
  void set_main_window(ShowWindow* window) { main_window_ = window; }
  ShowWindow* main_window() const { return main_window_; }
  void window_closed(ShowWindow* window);
  // The error box's caption: the executable's file name without its extension.
  const std::string& title() const { return title_; }

  // Timers register under an id of the message window.
  UINT_PTR add_timer(Win32Timer* timer);
  void remove_timer(UINT_PTR id);

 private:
  static LRESULT CALLBACK message_window_proc(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam);
  void fire_timer(UINT_PTR id);
  // Inside a catch block: shows the error being handled.
  void report_current_exception() noexcept;
  bool process_reporting();
  void run_idle();
  void show_main_window_once();

  Win32Clock clock_;
  Win32Loop loop_;
  HWND message_window_ = nullptr;
  std::function<void()> idle_;
  ShowWindow* main_window_ = nullptr;
  std::map<UINT_PTR, Win32Timer*> timers_;
  UINT_PTR next_timer_id_ = 1;
  std::string title_;
  std::atomic<bool> terminated_{false};  // terminate() may come from any thread
  bool main_window_started_ = false;
};

}  // namespace ss
