#pragma once
// The application object on SDL's event loop, in real time. run() shows the main window when it
// is not visible yet, then pumps:
//
//   process every pending message; when none is left, run the idle handler once; then sleep
//   until the next event, request or timer.
//
// Messages the backend delivers itself (events, timers, notifications, paints) report their own
// errors, so an error inside a transition's inner pumping never aborts the transition; errors of
// messages posted by portable code are caught and reported by the outer loop. Either way the
// loop goes on. A run ends on terminate() or when the main window closes.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/application.h"
#include "platform/posix/posix_clock.h"
#include "platform/sdl/sdl_loop.h"

namespace ss {

class Desktop;

class SdlApplication final : public Application {
 public:
  // Errors are reported in the desktop's message box, captioned with title.
  SdlApplication(Desktop& desktop, std::string title);

  MessageLoop& loop() override { return loop_; }
  Clock& clock() override { return clock_; }
  std::unique_ptr<Timer> create_timer() override;
  void run() override;
  void terminate() override { terminated_ = true; }
  bool terminated() const override { return terminated_; }
  void set_idle_handler(std::function<void()> on_idle) override { idle_ = std::move(on_idle); }
  void report_error(const std::string& message) override;

  SdlLoop& sdl_loop() { return loop_; }
  // Wraps a message so that its error is reported instead of propagated.
  MessageLoop::Task guarded(MessageLoop::Task task);
  void post_guarded(MessageLoop::Task task) { loop_.post(guarded(std::move(task))); }
  void post_guarded_after(uint32_t delay_ms, MessageLoop::Task task) {
    loop_.post_after(delay_ms, guarded(std::move(task)));
  }

  // The main window: run() shows it, and its closing ends the run. The window registers
  // itself; `show` makes it visible.
  void set_main_window(const void* window, std::function<void()> show);
  bool is_main_window(const void* window) const { return window != nullptr && window == main_; }
  void main_window_gone(const void* window);

 private:
  bool process_reporting();

  Desktop& desktop_;
  std::string title_;
  PosixClock clock_;
  SdlLoop loop_;
  std::function<void()> idle_;
  const void* main_ = nullptr;
  std::function<void()> show_main_;
  bool terminated_ = false;
};

}  // namespace ss
