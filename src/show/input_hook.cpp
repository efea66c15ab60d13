#include "show/input_hook.h"

#include "show/show_form.h"

namespace ss {

ShowProcessState& show_process_state() {
  static ShowProcessState state;
  return state;
}

void InstallInputHook(Desktop& desktop, ShowWindow& window) {
  ShowProcessState& state = show_process_state();
  state.hook_cursor = desktop.cursor_pos();
  state.hook_window = &window;
  // The handler reaches the desktop it was installed on; the platform outlives every show.
  state.hook_installed = desktop.install_input_hook(
      [&desktop](HookedInput input, Point cursor) { InputHookProc(desktop, input, cursor); });
}

void InputHookProc(Desktop& desktop, HookedInput input, Point cursor) {
  const ShowProcessState& state = show_process_state();
  if (!state.hook_installed || state.show_form == nullptr) return;
  const TSSFileLocations& settings = state.show_form->Settings();
  switch (input) {
    case HookedInput::kKeyDown:
      if (settings.lExitKeyPress) CloseFromHook(desktop);
      break;
    case HookedInput::kMouseMove:
      // Any distance counts, on either axis.
      if (settings.lExitMouseMove && cursor != state.hook_cursor) CloseFromHook(desktop);
      break;
    case HookedInput::kButtonDown:
      if (settings.lExitMouseClick) CloseFromHook(desktop);
      break;
  }
}

void CloseFromHook(Desktop& desktop) {
  ShowProcessState& state = show_process_state();
  RemoveInputHook(desktop);
  if (state.hook_window != nullptr) state.hook_window->post_user_message(kCloseMessage);
}

void RemoveInputHook(Desktop& desktop) {
  ShowProcessState& state = show_process_state();
  if (!state.hook_installed) return;
  desktop.remove_input_hook();
  state.hook_installed = false;
}

}  // namespace ss
