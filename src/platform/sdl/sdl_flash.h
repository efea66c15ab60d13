#pragma once
// Linux has no movie-player control for the "flash" kind: creating one always fails, and the
// show takes the road of a missing control (its question, then the end of the show).
#include <memory>

#include "base/error.h"
#include "platform/flash_control.h"

namespace ss {

class SdlFlashFactory final : public FlashFactory {
 public:
  std::unique_ptr<FlashControl> create(ShowWindow&) override {
    throw SaverError("The movie player control is not available on this system.");
  }
};

}  // namespace ss
