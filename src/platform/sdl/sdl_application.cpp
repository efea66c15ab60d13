#include "platform/sdl/sdl_application.h"

#include "platform/desktop.h"

namespace ss {
namespace {

// The longest sleep of the outer loop; events, requests and timers end it sooner.
constexpr uint32_t kMaxWaitMs = 10'000;

}  // namespace

SdlApplication::SdlApplication(Desktop& desktop, std::string title)
    : ApplicationCore(loop_, FirstShow::kPosted, kMaxWaitMs),
      desktop_(desktop),
      title_(std::move(title)) {}

void SdlApplication::report_error(const std::string& message) {
  desktop_.show_error(title_, message);
}

}  // namespace ss
