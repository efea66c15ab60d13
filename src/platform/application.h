#pragma once
// The application object of the GUI: the message loop a form runs in, its timers, the idle
// handler and the standard error report. An error that escapes a handler run by the loop is
// shown by report_error and the loop goes on.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/message_loop.h"

namespace ss {

// A timer of the GUI thread. Its handler runs as a message every interval_ms while enabled;
// setting the interval or enabling restarts the count. Interval 0 never fires. Like the
// framework's timer component, a new timer is enabled with interval 1000 ms and no handler.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void set_interval(uint32_t interval_ms) = 0;
  virtual uint32_t interval() const = 0;
  virtual void set_enabled(bool enabled) = 0;
  virtual bool enabled() const = 0;
  virtual void set_handler(std::function<void()> on_timer) = 0;
};

class Application {
 public:
  virtual ~Application() = default;
  virtual MessageLoop& loop() = 0;
  virtual Clock& clock() = 0;
  virtual std::unique_ptr<Timer> create_timer() = 0;

  // Shows the main window when it is not visible yet, then runs the loop until terminate() or
  // the main window has closed. The idle handler runs each time the loop has run out of
  // messages, before it waits for the next one.
  virtual void run() = 0;
  virtual void terminate() = 0;
  virtual bool terminated() const = 0;
  // An empty function removes the handler.
  virtual void set_idle_handler(std::function<void()> on_idle) = 0;

  // The framework's standard error report: a message box with an error icon and the text,
  // captioned with the application's title.
  virtual void report_error(const std::string& message) = 0;
};

}  // namespace ss
