#pragma once
// The GUI thread's message loop on Windows. Our own messages and the requests of other threads
// wait in a TaskQueue; the system's messages wait in the thread's message queue. A round runs
// the requests, then our messages, then the system's messages pending now. Posting from any
// thread also sets an event, so that a wait wakes for either kind of message.
#include <windows.h>

#include <functional>

#include "platform/core/queued_loop.h"

namespace ss {

class Win32Loop final : public QueuedLoop {
 public:
  // The thread that creates the loop is its GUI thread.
  Win32Loop();
  ~Win32Loop() override;
  Win32Loop(const Win32Loop&) = delete;
  Win32Loop& operator=(const Win32Loop&) = delete;

  bool process_messages() override;
  bool wait_message(uint32_t timeout_ms) override;

  // Wakes a wait without posting anything (a termination from another thread, say).
  void wake() override;
  // Runs when the system's queue hands out WM_QUIT.
  void set_quit_handler(std::function<void()> on_quit) { on_quit_ = std::move(on_quit); }

 private:
  bool dispatch_system_messages();

  HANDLE wake_event_;
  std::function<void()> on_quit_;
};

}  // namespace ss
