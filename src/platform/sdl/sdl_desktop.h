#pragma once
// The desktop on Linux. Message boxes are SDL's (on standard error when no display can show
// them); the shell's "open" is xdg-open, started directly without a shell; the cursor is
// SDL's. Linux has no screen-saver password switch, password dialogs or system-wide input hook
// for us: those answer "not there", which the show treats as a user who may always leave. The
// instance guard is a file lock (InstanceLock).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/sdl/instance_lock.h"

struct SDL_Cursor;

namespace ss {

class SdlDesktop final : public Desktop {
 public:
  SdlDesktop() = default;
  ~SdlDesktop() override;
  SdlDesktop(const SdlDesktop&) = delete;
  SdlDesktop& operator=(const SdlDesktop&) = delete;

  void show_error(const std::string& title, const std::string& text) override;
  bool ask_yes_no(const std::string& title, const std::string& text) override;
  void shell_open(intptr_t owner, const std::string& target) override;

  Point primary_screen_size() override { return screen_size_; }
  std::vector<Rect> other_monitors() override { return other_monitors_; }
  Point cursor_pos() override;
  void show_cursor(bool show) override;
  void set_hand_cursor(bool hand) override;

  std::optional<int32_t> screen_save_use_password() override { return std::nullopt; }
  std::optional<bool> verify_screen_save_password(intptr_t) override { return std::nullopt; }
  void set_screen_saver_running(bool) override {}
  bool change_password(intptr_t) override { return false; }

  bool install_input_hook(std::function<void(HookedInput, Point)>) override { return false; }
  void remove_input_hook() override {}

  InstanceGuardResult create_instance_guard(const std::string& name) override {
    return lock_.acquire(name);
  }
  void close_instance_guard() override { lock_.release(); }

  // What the show covers, as the platform found it.
  void set_screen_size(Point size) { screen_size_ = size; }
  void set_other_monitors(std::vector<Rect> monitors) { other_monitors_ = std::move(monitors); }
  // The program that opens addresses; tests point it elsewhere.
  void set_opener(std::string program) { opener_ = std::move(program); }

 private:
  Point screen_size_;
  std::vector<Rect> other_monitors_;
  int cursor_count_ = 0;  // the system's display counter: the cursor shows while it is >= 0
  SDL_Cursor* hand_ = nullptr;
  std::string opener_ = "xdg-open";
  InstanceLock lock_;
};

// Starts program with one argument, no shell between, and reaps it in the background. False
// when it cannot be started.
bool spawn_detached(const std::string& program, const std::string& argument);

}  // namespace ss
