// The exit rules of the show form and the common exit routine with the password check.
#include <cstdlib>
#include <exception>
#include <optional>

#include "show/input_hook.h"
#include "show/saver_mode.h"
#include "show/show_form.h"

namespace ss {
namespace {

// Events ignored after a password check, so that the hand that just typed it does not end the
// show at once.
constexpr int32_t kMouseMoveGrace = 5;
// The pointer has to move more than this on both axes at once.
constexpr int64_t kMouseMoveSlack = 2;

}  // namespace

void TfrmScrn::FormKeyDown(uint32_t /*key*/, uint32_t /*shift*/) {
  if (FSettings.lExitKeyPress) TryExitShow();
}

void TfrmScrn::PShowMouseDown(MouseButton /*button*/, uint32_t /*shift*/, int32_t /*x*/,
                              int32_t /*y*/) {
  if (FSettings.lExitMouseClick) TryExitShow();
}

void TfrmScrn::FormMouseMove(uint32_t /*shift*/, int32_t x, int32_t y) {
  if (!FSettings.lExitMouseMove) return;
  int32_t& grace = show_process_state().MouseMoveGrace;
  if (grace > 0) {
    --grace;
    return;
  }
  if (FMouseAnchorX == -1 && FMouseAnchorY == -1) {
    FMouseAnchorX = x;
    FMouseAnchorY = y;
    return;
  }
  // Smaller movements leave the anchor alone, so that they add up.
  if (std::llabs(int64_t{x} - FMouseAnchorX) > kMouseMoveSlack &&
      std::llabs(int64_t{y} - FMouseAnchorY) > kMouseMoveSlack) {
    FMouseAnchorX = x;
    FMouseAnchorY = y;
    TryExitShow();
  }
}

void TfrmScrn::TryExitShow() {
  if (saver_mode() != smShow) {
    window_->close();
    return;
  }
  show_process_state().MouseMoveGrace = kMouseMoveGrace;
  if (!PasswordVerified()) return;  // the show goes on; the next moves are ignored
  PShow_->Stop();
  window_->close();
}

bool TfrmScrn::PasswordVerified() {
  Desktop& desktop = platform_.desktop();
  // The switch is read with the key open; a missing value is an error inside the guarded part.
  std::optional<int32_t> use_password;
  std::exception_ptr switch_error;
  try {
    use_password = desktop.screen_save_use_password();
    if (!use_password) return true;  // no key: nothing to ask
  } catch (...) {
    switch_error = std::current_exception();
  }

  bool verified = false;
  desktop.show_cursor(true);
  try {
    if (switch_error) std::rethrow_exception(switch_error);
    if (*use_password == 0) {
      verified = true;
    } else {
      // No password component counts as verified, like every failure on the way.
      const std::optional<bool> answer =
          desktop.verify_screen_save_password(window_->native_handle());
      verified = !answer || *answer;
    }
  } catch (...) {
    verified = true;
  }
  desktop.show_cursor(false);
  return verified;
}

}  // namespace ss
