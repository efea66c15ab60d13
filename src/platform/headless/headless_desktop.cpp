#include "platform/headless/headless_desktop.h"

#include "base/error.h"

namespace ss {
namespace {

const char* flag(bool on) {
  return on ? "1" : "0";
}

bool take_answer(std::deque<bool>& queue, bool fallback) {
  if (queue.empty()) return fallback;
  const bool answer = queue.front();
  queue.pop_front();
  return answer;
}

}  // namespace

HeadlessDesktop::HeadlessDesktop(HeadlessConfig& config, CallLog& log)
    : config_(config), log_(log), cursor_(config.cursor) {}

void HeadlessDesktop::show_error(const std::string& title, const std::string& text) {
  log_.add("message.error " + title + ": " + text);
  if (config_.during_message_box) config_.during_message_box();
}

bool HeadlessDesktop::ask_yes_no(const std::string&, const std::string& text) {
  const bool yes = take_answer(config_.yes_no_answers, config_.yes_no_default);
  log_.add("message.ask " + text + (yes ? " -> yes" : " -> no"));
  if (config_.during_message_box) config_.during_message_box();
  return yes;
}

void HeadlessDesktop::shell_open(intptr_t, const std::string& target) {
  log_.add("shell.open " + target);
}

void HeadlessDesktop::show_cursor(bool show) {
  cursor_count_ += show ? 1 : -1;
  log_.add(std::string("cursor.show ") + flag(show));
}

void HeadlessDesktop::set_hand_cursor(bool hand) {
  hand_cursor_ = hand;
  log_.add(std::string("cursor.hand ") + flag(hand));
}

std::optional<int32_t> HeadlessDesktop::screen_save_use_password() {
  switch (config_.password_switch) {
    case PasswordSwitch::kKeyMissing:
      log_.add("password.switch -> no key");
      return std::nullopt;
    case PasswordSwitch::kValueMissing:
      log_.add("password.switch -> no value");
      throw SaverError("Invalid data type for 'ScreenSaveUsePassword'");
    case PasswordSwitch::kValue:
      break;
  }
  log_.add("password.switch -> " + std::to_string(config_.password_value));
  return config_.password_value;
}

std::optional<bool> HeadlessDesktop::verify_screen_save_password(intptr_t) {
  if (!config_.password_component_loads) {
    log_.add("password.verify -> no component");
    return std::nullopt;
  }
  if (!config_.password_entry_point) {
    log_.add("password.verify -> no entry point");
    throw SaverError("The password component has no verify entry point");
  }
  const bool ok = take_answer(config_.verify_answers, config_.verify_default);
  log_.add(ok ? "password.verify -> ok" : "password.verify -> cancel");
  return ok;
}

void HeadlessDesktop::set_screen_saver_running(bool running) {
  screen_saver_running_ = running;
  log_.add(std::string("screensaver.running ") + flag(running));
}

bool HeadlessDesktop::change_password(intptr_t parent) {
  const bool found = config_.change_password_entry_point;
  log_.add("password.change " + std::to_string(parent) +
           (found ? " -> called" : " -> no entry point"));
  return found;
}

bool HeadlessDesktop::install_input_hook(std::function<void(HookedInput, Point)> handler) {
  if (!config_.hook_installs) {
    log_.add("hook.install -> failed");
    return false;
  }
  log_.add("hook.install");
  hook_ = std::move(handler);
  return true;
}

void HeadlessDesktop::remove_input_hook() {
  log_.add("hook.remove");
  hook_ = nullptr;
}

void HeadlessDesktop::observe(HookedInput input) {
  // Copied: the handler may remove the hook.
  const auto hook = hook_;
  if (hook) hook(input, cursor_);
}

InstanceGuardResult HeadlessDesktop::create_instance_guard(const std::string& name) {
  const InstanceGuardResult result = config_.instance_guard;
  const char* outcome = result == InstanceGuardResult::kCreated          ? "created"
                        : result == InstanceGuardResult::kAlreadyRunning ? "already running"
                                                                         : "failed";
  log_.add("guard.create " + name + " -> " + outcome);
  guard_open_ = result != InstanceGuardResult::kFailed;
  return result;
}

void HeadlessDesktop::close_instance_guard() {
  log_.add("guard.close");
  guard_open_ = false;
}

}  // namespace ss
