#pragma once
// The application object on the virtual clock. run() shows the main window when it is not
// visible yet, then pumps like every backend's run:
//
//   process every pending message; when none is left, run the idle handler once; when that
//   posted nothing either, wait for the next message or timer, which moves the clock.
//
// Every message the backend itself delivers (timers, input, notifications, paints) reports
// its own error, so an error inside a transition's inner pumping does not abort the transition;
// errors of messages posted by portable code are caught and reported by the outer loop. Either
// way the loop goes on.
//
// A run ends on terminate(), when the main window closes, when end_run() is called, or at its
// virtual time limit; a run whose messages keep coming without the clock moving is stopped too
// and logged as app.stalled, so a test never hangs.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/application_core.h"
#include "platform/headless/call_log.h"
#include "platform/headless/headless_clock.h"
#include "platform/headless/headless_loop.h"

namespace ss {

class HeadlessApplication final : public ApplicationCore {
 public:
  explicit HeadlessApplication(CallLog& log, uint32_t start_tick = 0);

  Clock& clock() override { return clock_; }
  // Runs for at most run_limit() of virtual time.
  void run() override;
  void report_error(const std::string& message) override;

  // The test's side.
  HeadlessLoop& headless_loop() { return loop_; }
  HeadlessClock& headless_clock() { return clock_; }
  uint64_t now_ms() const { return clock_.elapsed_ms(); }
  void set_run_limit(uint64_t ms) { run_limit_ms_ = ms; }
  uint64_t run_limit() const { return run_limit_ms_; }
  // Pump like run() for at most max_ms of virtual time, or until done() holds, but leave the
  // main window as it is. True when the run ended for another reason than its time limit.
  bool run_for(uint64_t max_ms);
  bool run_until(const std::function<bool()>& done, uint64_t max_ms);
  // Makes the current run return after the message being handled (not a termination).
  void end_run() { end_requested_ = true; }
  bool hit_time_limit() const { return hit_time_limit_; }
  bool has_idle_handler() const { return has_idle_handler_; }
  int idle_calls() const { return idle_calls_; }
  const std::vector<std::string>& errors() const { return errors_; }
  // Runs while an error box is up, as the messages the system delivers meanwhile; not again
  // for a box raised during it.
  void set_during_error_box(std::function<void()> hook) { during_error_box_ = std::move(hook); }

  void set_idle_handler(std::function<void()> on_idle) override {
    has_idle_handler_ = static_cast<bool>(on_idle);
    ApplicationCore::set_idle_handler(std::move(on_idle));
  }

 private:
  bool pump(const std::function<bool()>& done, uint64_t max_ms);

  CallLog& log_;
  HeadlessClock clock_;
  HeadlessLoop loop_;
  std::vector<std::string> errors_;
  std::function<void()> during_error_box_;
  bool error_box_up_ = false;
  uint64_t run_limit_ms_ = 10 * 60 * 1000;
  bool end_requested_ = false;
  bool hit_time_limit_ = false;
  bool has_idle_handler_ = false;
  int idle_calls_ = 0;
};

}  // namespace ss
