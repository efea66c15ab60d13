#include "platform/win32/win32_loop.h"

#include "platform/win32/win32_application.h"

namespace ss {
namespace {

// A round hands out at most this many system messages, so that a handler that keeps posting
// cannot hold the caller (a transition waiting for its next frame) in one round for ever.
constexpr int kMaxSystemMessagesPerRound = 256;

}  // namespace

Win32Loop::Win32Loop() : wake_event_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

Win32Loop::~Win32Loop() {
  if (wake_event_ != nullptr) CloseHandle(wake_event_);
}

bool Win32Loop::process_messages() {
  const bool ran_tasks = tasks().run_all();
  const bool ran_messages = dispatch_system_messages();
  return ran_tasks || ran_messages;
}

bool Win32Loop::dispatch_system_messages() {
  bool ran = false;
  MSG message;
  for (int i = 0; i < kMaxSystemMessagesPerRound; ++i) {
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) break;
    ran = true;
    if (message.message == WM_QUIT) {
      if (on_quit_) on_quit_();
      break;
    }
    if (dispatch_to_dialog(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return ran;
}

bool Win32Loop::wait_message(uint32_t timeout_ms) {
  if (tasks().has_any()) return true;
  // Input already seen by an earlier peek but left in the queue counts as well.
  const DWORD woke = MsgWaitForMultipleObjectsEx(wake_event_ != nullptr ? 1 : 0, &wake_event_,
                                                 timeout_ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  return woke == WAIT_OBJECT_0 || woke == WAIT_OBJECT_0 + 1 || tasks().has_any();
}

void Win32Loop::wake() {
  if (wake_event_ != nullptr) SetEvent(wake_event_);
}

}  // namespace ss
