#pragma once
// The desktop on Windows: message boxes, the shell, the cursor and the screen, the system's
// screen-saver switches and password dialogs, the system-wide input hook and the instance
// guard (a named semaphore).
#include <windows.h>

#include "platform/desktop.h"

namespace ss {

class Win32Application;

// The cursor the desktop was last asked for (the hand over an address label, else the arrow).
// A window whose class has no cursor of its own sets it in WM_SETCURSOR, so that the system's
// default handling does not put the arrow back over it.
HCURSOR desktop_cursor();

class Win32Desktop final : public Desktop {
 public:
  explicit Win32Desktop(Win32Application& application);
  ~Win32Desktop() override;
  Win32Desktop(const Win32Desktop&) = delete;
  Win32Desktop& operator=(const Win32Desktop&) = delete;

  void show_error(const std::string& title, const std::string& text) override;
  bool ask_yes_no(const std::string& title, const std::string& text) override;
  void shell_open(intptr_t owner, const std::string& target) override;

  Point primary_screen_size() override;
  std::vector<Rect> other_monitors() override;
  Point cursor_pos() override;
  void show_cursor(bool show) override;
  void set_hand_cursor(bool hand) override;

  std::optional<int32_t> screen_save_use_password() override;
  std::optional<bool> verify_screen_save_password(intptr_t window) override;
  void set_screen_saver_running(bool running) override;
  bool change_password(intptr_t parent) override;

  bool install_input_hook(std::function<void(HookedInput, Point cursor)> handler) override;
  void remove_input_hook() override;

  InstanceGuardResult create_instance_guard(const std::string& name) override;
  void close_instance_guard() override;

 private:
  Win32Application& application_;
  HANDLE guard_ = nullptr;
};

}  // namespace ss
