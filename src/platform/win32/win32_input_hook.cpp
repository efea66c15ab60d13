// The system-wide observation of input for the "flash" kind. The journal-record hook is tried
// first; where the system refuses it (it needs privileges on current systems), low-level
// keyboard and mouse hooks observe the same events. Either way the system calls the hook
// procedure on the thread that installed it, and the event reaches the handler as a message of
// the GUI thread's loop, so that the handler may remove the hook.
#include <functional>
#include <memory>

#include "platform/win32/win32_application.h"
#include "platform/win32/win32_desktop.h"

namespace ss {
namespace {

using HookHandler = std::function<void(HookedInput, Point)>;

struct InputHookState {
  Win32Application* application = nullptr;
  // Shared with the messages already posted, which check that it is still the current one.
  std::shared_ptr<HookHandler> handler;
  HHOOK journal = nullptr;
  HHOOK keyboard = nullptr;
  HHOOK mouse = nullptr;
};

InputHookState& hook_state() {
  static InputHookState state;
  return state;
}

std::optional<HookedInput> classify(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return HookedInput::kKeyDown;
    case WM_MOUSEMOVE:
      return HookedInput::kMouseMove;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      return HookedInput::kButtonDown;
    default:
      return std::nullopt;
  }
}

void deliver(UINT message, Point cursor) {
  const std::optional<HookedInput> input = classify(message);
  InputHookState& state = hook_state();
  if (!input || state.application == nullptr || !state.handler) return;
  Win32Application* application = state.application;
  const std::weak_ptr<HookHandler> handler = state.handler;
  application->loop().post([application, handler, input, cursor] {
    const std::shared_ptr<HookHandler> current = handler.lock();
    if (current && current == hook_state().handler)
      application->run_guarded([&] { (*current)(*input, cursor); });
  });
}

Point current_cursor() {
  POINT p = {};
  GetCursorPos(&p);
  return {p.x, p.y};
}

LRESULT CALLBACK journal_record_proc(int code, WPARAM wparam, LPARAM lparam) {
  if (code < 0) return CallNextHookEx(nullptr, code, wparam, lparam);
  // Every recorded event is taken here; none is passed on to other hooks.
  if (code == HC_ACTION && lparam != 0) {
    const auto* event = reinterpret_cast<const EVENTMSG*>(lparam);
    deliver(event->message, current_cursor());
  }
  return 1;
}

LRESULT CALLBACK low_level_keyboard_proc(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION) deliver(static_cast<UINT>(wparam), current_cursor());
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK low_level_mouse_proc(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && lparam != 0) {
    // The cursor has not moved yet: the event carries where it goes.
    const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lparam);
    deliver(static_cast<UINT>(wparam), {event->pt.x, event->pt.y});
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// Current systems refuse the journal hook to programs without privileges; setting this variable
// makes the saver behave as on such a system where one (an emulator, an old system) would allow
// it, so that the low-level road can be exercised anywhere.
bool journal_hook_refused() {
  char value[8] = {};
  return GetEnvironmentVariableA("SLIDESAVER_REFUSE_JOURNAL_HOOK", value, sizeof value) > 0 &&
         value[0] == '1';
}

void unhook(HHOOK& hook) {
  if (hook == nullptr) return;
  UnhookWindowsHookEx(hook);
  hook = nullptr;
}

}  // namespace

bool Win32Desktop::install_input_hook(std::function<void(HookedInput, Point cursor)> handler) {
  remove_input_hook();
  InputHookState& state = hook_state();
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!journal_hook_refused())
    state.journal = SetWindowsHookExA(WH_JOURNALRECORD, journal_record_proc, instance, 0);
  if (state.journal == nullptr) {
    state.keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, low_level_keyboard_proc, instance, 0);
    state.mouse = SetWindowsHookExA(WH_MOUSE_LL, low_level_mouse_proc, instance, 0);
    if (state.keyboard == nullptr || state.mouse == nullptr) {
      remove_input_hook();
      return false;
    }
  }
  state.application = &application_;
  state.handler = std::make_shared<HookHandler>(std::move(handler));
  return true;
}

void Win32Desktop::remove_input_hook() {
  InputHookState& state = hook_state();
  unhook(state.journal);
  unhook(state.keyboard);
  unhook(state.mouse);
  state.handler.reset();
  state.application = nullptr;
}

}  // namespace ss
