#pragma once
// The Windows backend in one piece: the GUI thread's application object and loop, the native
// files, the desktop, GDI text and metafiles, the preview window, the show windows, the MCI
// music player, the movie control and the setup dialog. Make it on the GUI thread; it installs
// its metafile renderer for as long as it lives. The first window it creates is the main
// window, whose closing ends the application's loop.
#include <memory>

#include "platform/platform.h"
#include "platform/win32/win32_application.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_metafile_renderer.h"
#include "platform/win32/win32_preview_target.h"
#include "platform/win32/win32_text_renderer.h"

namespace ss {

class Win32Platform final : public Platform {
 public:
  Win32Platform();
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  Application& application() override { return application_; }
  FileSystem& files() override;
  Desktop& desktop() override { return desktop_; }
  TextRenderer& text() override { return text_; }
  FlashFactory& flash() override { return *flash_; }
  PreviewTarget& preview() override { return preview_; }
  std::unique_ptr<ShowWindow> create_window() override;
  std::unique_ptr<ShowWindow> create_cover_window(const Rect& monitor) override;
  std::unique_ptr<MediaPlayer> create_media_player() override;
  std::unique_ptr<SetupView> create_setup_view(const SetupDialogLayout& layout) override;
  MetafileRenderer& metafiles() override { return metafiles_; }

 private:
  Win32Application application_;
  Win32Desktop desktop_;
  Win32TextRenderer text_;
  Win32PreviewTarget preview_;
  Win32MetafileRenderer metafiles_;
  std::unique_ptr<FlashFactory> flash_;
};

}  // namespace ss
