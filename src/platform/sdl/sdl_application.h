#pragma once
// The application object on SDL's event loop, in real time: the shared run loop, which sleeps
// until the next event, request or timer. Messages the backend delivers itself (events, timers,
// notifications, paints) report their own errors, so an error inside a transition's inner
// pumping never aborts the transition; errors of messages posted by portable code are caught
// and reported by the outer loop. Either way the loop goes on.
#include <string>

#include "platform/core/application_core.h"
#include "platform/posix/posix_clock.h"
#include "platform/sdl/sdl_loop.h"

namespace ss {

class Desktop;

class SdlApplication final : public ApplicationCore {
 public:
  // Errors are reported in the desktop's message box, captioned with title.
  SdlApplication(Desktop& desktop, std::string title);

  Clock& clock() override { return clock_; }
  void report_error(const std::string& message) override;

  SdlLoop& sdl_loop() { return loop_; }

 private:
  Desktop& desktop_;
  std::string title_;
  PosixClock clock_;
  SdlLoop loop_;
};

}  // namespace ss
