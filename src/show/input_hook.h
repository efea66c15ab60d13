#pragma once
// The process-wide state of the show and the system-wide input hook of the "flash" kind. The
// movie control takes the keyboard and the mouse away from the show window, so its exit rules
// are watched from outside the window: a key press, a button press or any movement of the
// cursor away from where it was when the hook went in closes the show, with no password check.
#include <cstdint>

#include "gfx/geometry.h"
#include "platform/desktop.h"

namespace ss {

class TfrmScrn;
class ShowWindow;

struct ShowProcessState {
  // Mouse-move events the show form still ignores; the exit routine sets it after a check.
  int32_t MouseMoveGrace = 0;
  // The hook as installed: whether it is in, the window it closes and the cursor position
  // recorded when it went in.
  bool hook_installed = false;
  ShowWindow* hook_window = nullptr;
  Point hook_cursor;
  // The one show form of the process, through which the hook reads the exit settings.
  TfrmScrn* show_form = nullptr;
};

ShowProcessState& show_process_state();

// Records the cursor and the form's window, then installs the hook. A hook that cannot be
// installed is not reported; the show then runs without it.
void InstallInputHook(Desktop& desktop, ShowWindow& window);
// One observed event, checked against the show form's exit settings.
void InputHookProc(Desktop& desktop, HookedInput input, Point cursor);
// Removes the hook and posts the close message to the recorded window.
void CloseFromHook(Desktop& desktop);
// Removes the hook when one is in.
void RemoveInputHook(Desktop& desktop);

}  // namespace ss
