#include "platform/core/application_core.h"

#include <algorithm>
#include <limits>

#include "base/error.h"
#include "platform/core/form_window.h"
#include "platform/core/posted_timer.h"

namespace ss {

ApplicationCore::ApplicationCore(QueuedLoop& loop, FirstShow first_show, uint32_t longest_wait_ms)
    : loop_(loop), first_show_(first_show), longest_wait_ms_(longest_wait_ms) {}

std::unique_ptr<Timer> ApplicationCore::create_timer() {
  return std::make_unique<PostedTimer>(*this, [this](uint32_t delay_ms, MessageLoop::Task task) {
    post_guarded_after(delay_ms, std::move(task));
  });
}

void ApplicationCore::terminate() {
  terminated_ = true;
  terminated_now();
}

void ApplicationCore::run_guarded(const MessageLoop::Task& task) noexcept {
  try {
    task();
  } catch (...) {
    report_current_exception();
  }
}

void ApplicationCore::report_current_exception() noexcept {
  try {
    report_error(current_exception_text());
  } catch (...) {
    // Not even the report could be shown; the loop goes on regardless.
  }
}

MessageLoop::Task ApplicationCore::guarded(MessageLoop::Task task) {
  return [this, task = std::move(task)] { run_guarded(task); };
}

void ApplicationCore::post_guarded_after(uint64_t delay_ms, MessageLoop::Task task) {
  const uint64_t capped = std::min<uint64_t>(delay_ms, std::numeric_limits<uint32_t>::max());
  loop_.post_after(static_cast<uint32_t>(capped), guarded(std::move(task)));
}

void ApplicationCore::window_closed(const FormWindow* window) {
  if (window != nullptr && window == main_window_) terminate();
}

void ApplicationCore::show_main_window_once() {
  if (main_window_started_ || main_window_ == nullptr) return;
  main_window_started_ = true;
  FormWindow* window = main_window_;
  if (window->visible() || window->closed()) return;
  if (first_show_ == FirstShow::kPosted)
    post_guarded([window] { window->show(); });
  else
    run_guarded([window] { window->show(); });
}

bool ApplicationCore::process_reporting() {
  try {
    return loop_.process_messages();
  } catch (...) {
    // The failing message is gone; the rest stay queued for the next round.
    report_current_exception();
    return true;
  }
}

void ApplicationCore::run_idle() {
  // The handler may remove itself.
  const std::function<void()> handler = idle_;
  if (handler) run_guarded(handler);
}

void ApplicationCore::run() {
  show_main_window_once();
  bool idle_ran = false;
  while (!terminated_) {
    if (process_reporting()) continue;
    if (!idle_ran) {
      idle_ran = true;
      run_idle();
      continue;
    }
    loop_.wait_message(longest_wait_ms_);
    idle_ran = false;
  }
}

}  // namespace ss
