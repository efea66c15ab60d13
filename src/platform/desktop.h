#pragma once
// The rest of the desktop the saver talks to: message boxes, the shell, the cursor, the screen,
// the screen-saver switches and password calls, the system-wide input hook and the instance guard.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gfx/geometry.h"

namespace ss {

// What the system-wide input observation reports (the flash kind, whose movie control takes
// the keyboard and mouse away from the show window).
enum class HookedInput : uint8_t { kKeyDown, kMouseMove, kButtonDown };

enum class InstanceGuardResult : uint8_t { kCreated, kAlreadyRunning, kFailed };

class Desktop {
 public:
  virtual ~Desktop() = default;

  // Message boxes, owned by the given window (0 for none).
  virtual void show_error(const std::string& title, const std::string& text) = 0;
  // An information icon with Yes and No; true for Yes.
  virtual bool ask_yes_no(const std::string& title, const std::string& text) = 0;
  // The shell's "open" on a text (an address, a file); the outcome is not reported.
  virtual void shell_open(intptr_t owner, const std::string& target) = 0;

  virtual Point primary_screen_size() = 0;
  // Every monitor but the primary one, in the show's coordinates, where the primary monitor is
  // (0, 0, primary_screen_size()). Empty on a single monitor.
  virtual std::vector<Rect> other_monitors() = 0;
  virtual Point cursor_pos() = 0;
  // Counted like the system's: each hide needs a show to undo it.
  virtual void show_cursor(bool show) = 0;
  virtual void set_hand_cursor(bool hand) = 0;

  // The switch "ScreenSaveUsePassword" under the user's "Control Panel\Desktop": nullopt when
  // the key cannot be opened; throws when the value is missing.
  virtual std::optional<int32_t> screen_save_use_password() = 0;
  // The system's password dialog for the saver's window: nullopt when the password component
  // cannot be loaded; throws when its entry point is missing.
  virtual std::optional<bool> verify_screen_save_password(intptr_t window) = 0;
  // Tells the system whether a screen saver runs.
  virtual void set_screen_saver_running(bool running) = 0;
  // The system's password-change dialog for the registry key "SCRSAVE"; false when the
  // component or its entry point is missing.
  virtual bool change_password(intptr_t parent) = 0;

  // System-wide observation of input; false when it cannot be installed. The handler runs on
  // the GUI thread with the cursor position at the event.
  virtual bool install_input_hook(std::function<void(HookedInput, Point cursor)> handler) = 0;
  virtual void remove_input_hook() = 0;

  // A named guard between processes of the same saver file.
  virtual InstanceGuardResult create_instance_guard(const std::string& name) = 0;
  virtual void close_instance_guard() = 0;
};

}  // namespace ss
