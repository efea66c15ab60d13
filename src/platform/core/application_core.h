#pragma once
// The application object's logic that every backend shares. run() shows the main window once
// when it is not visible yet (as the framework's run does), then pumps:
//
//   process every pending message; when none is left, run the idle handler once; then wait
//   for the next message.
//
// The idle handler thus runs once each time the loop runs dry before a wait: a handler that
// posts a message gets it processed, but does not spin the loop. An error that escapes a
// message is reported with report_error and the loop goes on. A run ends on terminate() or when
// the main window closes.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/application.h"
#include "platform/core/queued_loop.h"

namespace ss {

class FormWindow;

class ApplicationCore : public Application {
 public:
  // How run() shows the main window: at once, or as the first message of the run.
  enum class FirstShow : uint8_t { kAtOnce, kPosted };

  MessageLoop& loop() override { return loop_; }
  // A timer over the loop's own one-shot timers.
  std::unique_ptr<Timer> create_timer() override;
  void run() override;
  void terminate() override;
  bool terminated() const override { return terminated_; }
  void set_idle_handler(std::function<void()> on_idle) override { idle_ = std::move(on_idle); }

  // Runs task now and reports whatever it throws; never throws itself.
  void run_guarded(const MessageLoop::Task& task) noexcept;
  // Wraps a message so that its error is reported instead of propagated.
  MessageLoop::Task guarded(MessageLoop::Task task);
  void post_guarded(MessageLoop::Task task) { loop_.post(guarded(std::move(task))); }
  void post_guarded_after(uint64_t delay_ms, MessageLoop::Task task);

  // The window whose closing ends the run; the platform sets it for its first window.
  void set_main_window(FormWindow* window) { main_window_ = window; }
  FormWindow* main_window() const { return main_window_; }
  void window_closed(const FormWindow* window);

 protected:
  // longest_wait_ms: the longest single wait of run(); messages end it sooner.
  ApplicationCore(QueuedLoop& loop, FirstShow first_show, uint32_t longest_wait_ms);

  void show_main_window_once();
  // One round of the loop; true when anything ran (or failed).
  bool process_reporting();
  void run_idle();
  // Runs after terminate(), which may come from another thread.
  virtual void terminated_now() {}

 private:
  // Inside a catch block: reports the error being handled.
  void report_current_exception() noexcept;

  QueuedLoop& loop_;
  FirstShow first_show_;
  uint32_t longest_wait_ms_;
  std::function<void()> idle_;
  FormWindow* main_window_ = nullptr;
  std::atomic<bool> terminated_{false};
  bool main_window_started_ = false;
};

}  // namespace ss
