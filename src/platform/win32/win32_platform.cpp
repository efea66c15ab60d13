#include "platform/win32/win32_platform.h"

#include "platform/files.h"
#include "platform/win32/flash_host.h"
#include "platform/win32/mci_media_player.h"
#include "platform/win32/win32_setup_view.h"
#include "platform/win32/win32_show_window.h"

namespace ss {

Win32Platform::Win32Platform()
    : desktop_(application_), flash_(create_flash_factory(application_)) {}

Win32Platform::~Win32Platform() = default;

FileSystem& Win32Platform::files() {
  return native_file_system();
}

std::unique_ptr<ShowWindow> Win32Platform::create_window() {
  auto window = std::make_unique<Win32ShowWindow>(application_);
  if (application_.main_window() == nullptr) application_.set_main_window(window.get());
  return window;
}

std::unique_ptr<ShowWindow> Win32Platform::create_cover_window(const Rect& /*monitor*/) {
  // Placed by its bounds, like the show window.
  return std::make_unique<Win32ShowWindow>(application_, Win32ShowWindow::Role::kCover);
}

std::unique_ptr<MediaPlayer> Win32Platform::create_media_player() {
  return create_mci_media_player();
}

std::unique_ptr<SetupView> Win32Platform::create_setup_view(const SetupDialogLayout& layout) {
  return create_win32_setup_view(application_, layout);
}

}  // namespace ss
