#pragma once
// The desktop as the configuration describes it: message boxes answer from its queues, the
// password calls from its switch and answers, the hook installs or not, the instance guard
// reports the configured state. Every call is logged; the cursor position moves with the
// scripted input.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/desktop.h"
#include "platform/headless/call_log.h"
#include "platform/headless/headless_config.h"

namespace ss {

class HeadlessDesktop final : public Desktop {
 public:
  HeadlessDesktop(HeadlessConfig& config, CallLog& log);

  void show_error(const std::string& title, const std::string& text) override;
  bool ask_yes_no(const std::string& title, const std::string& text) override;
  void shell_open(intptr_t owner, const std::string& target) override;

  Point primary_screen_size() override { return config_.screen_size; }
  std::vector<Rect> other_monitors() override { return config_.other_monitors; }
  Point cursor_pos() override { return cursor_; }
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

  // The test's side.
  void move_cursor(Point screen) { cursor_ = screen; }
  // The system's display counter: 0 at start, the cursor shows while it is >= 0.
  int cursor_count() const { return cursor_count_; }
  bool hand_cursor() const { return hand_cursor_; }
  bool screen_saver_running() const { return screen_saver_running_; }
  bool hook_installed() const { return static_cast<bool>(hook_); }
  bool guard_open() const { return guard_open_; }
  // Runs the hook with an event at the current cursor position, when it is installed.
  void observe(HookedInput input);

 private:
  HeadlessConfig& config_;
  CallLog& log_;
  Point cursor_;
  int cursor_count_ = 0;
  bool hand_cursor_ = false;
  bool screen_saver_running_ = false;
  bool guard_open_ = false;
  std::function<void(HookedInput, Point)> hook_;
};

}  // namespace ss
