#include "platform/sdl/sdl_application.h"

#include <exception>

#include "base/error.h"
#include "platform/desktop.h"
#include "platform/core/posted_timer.h"

namespace ss {
namespace {

// The longest sleep of the outer loop; events, requests and timers end it sooner.
constexpr uint32_t kMaxWaitMs = 10'000;

}  // namespace

SdlApplication::SdlApplication(Desktop& desktop, std::string title)
    : desktop_(desktop), title_(std::move(title)) {}

std::unique_ptr<Timer> SdlApplication::create_timer() {
  return std::make_unique<PostedTimer>(*this, [this](uint32_t delay_ms, MessageLoop::Task task) {
    post_guarded_after(delay_ms, std::move(task));
  });
}

void SdlApplication::report_error(const std::string& message) {
  desktop_.show_error(title_, message);
}

MessageLoop::Task SdlApplication::guarded(MessageLoop::Task task) {
  return [this, task = std::move(task)] {
    try {
      task();
    } catch (...) {
      report_error(current_exception_text());
    }
  };
}

void SdlApplication::set_main_window(const void* window, std::function<void()> show) {
  main_ = window;
  show_main_ = std::move(show);
}

void SdlApplication::main_window_gone(const void* window) {
  if (!is_main_window(window)) return;
  main_ = nullptr;
  show_main_ = nullptr;
  terminate();
}

bool SdlApplication::process_reporting() {
  try {
    return loop_.process_messages();
  } catch (...) {
    // The failing message is gone; the rest stay queued for the next round.
    report_error(current_exception_text());
    return true;
  }
}

void SdlApplication::run() {
  if (show_main_) post_guarded(show_main_);
  bool idle_ran = false;
  while (!terminated_) {
    if (process_reporting()) continue;
    if (!idle_ran) {
      idle_ran = true;
      // The handler may remove itself.
      const std::function<void()> handler = idle_;
      if (handler) guarded(handler)();
      continue;
    }
    loop_.wait_message(kMaxWaitMs);
    idle_ran = false;
  }
}

}  // namespace ss
