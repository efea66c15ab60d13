#pragma once
// The Linux platform on SDL2: the whole saver runs on a real display, in real time.
//
//   SdlConfig config;
//   config.surface = HostSurface::kWindow;
//   config.window_size = {800, 600};
//   SdlPlatform platform(config);
//   return run_saver(saver_args, platform);
//
// The show covers what the configuration names (the primary monitor, a plain window, the
// screen-saver daemon's window or the root window), and the desktop reports that as the
// primary screen, so the show composes its slides at that size. Full screen, the desktop also
// reports the other monitors, which the show covers with black windows. Events, timers and the
// music's notifications all arrive on the loop of the thread that made the platform. SIGINT and
// SIGTERM close the show's window, so that its clean-up (the extracted media) still runs.
#include <memory>
#include <vector>

#include "platform/core/monitor_layout.h"
#include "platform/platform.h"
#include "platform/sdl/freetype_text.h"
#include "platform/sdl/sdl_application.h"
#include "platform/sdl/sdl_context.h"
#include "platform/sdl/sdl_desktop.h"
#include "platform/sdl/sdl_flash.h"
#include "platform/sdl/sdl_preview.h"
#include "platform/sdl/x11_windows.h"

namespace ss {

class SdlWindow;
class RedirectedFiles;

// SDL's video and event subsystems for as long as it lives.
class SdlVideo {
 public:
  // Throws SaverError when no display can be opened.
  explicit SdlVideo(HostSurface surface);
  ~SdlVideo();
  SdlVideo(const SdlVideo&) = delete;
  SdlVideo& operator=(const SdlVideo&) = delete;
};

class SdlPlatform final : public Platform {
 public:
  explicit SdlPlatform(SdlConfig config);
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  Application& application() override { return app_; }
  FileSystem& files() override;
  Desktop& desktop() override { return desktop_; }
  TextRenderer& text() override { return text_; }
  FlashFactory& flash() override { return flash_; }
  PreviewTarget& preview() override { return preview_; }
  std::unique_ptr<ShowWindow> create_window() override;
  std::unique_ptr<ShowWindow> create_cover_window(const Rect& monitor) override;
  std::unique_ptr<MediaPlayer> create_media_player() override;
  std::unique_ptr<SetupView> create_setup_view(const SetupDialogLayout& layout) override;

  SdlApplication& sdl_app() { return app_; }
  SdlDesktop& sdl_desktop() { return desktop_; }
  FreeTypeText& freetype() { return text_; }
  Point screen_size() const { return context_.screen_size; }
  // The latest show window that still exists; null when none.
  SdlWindow* window() const;

 private:
  void route(const SDL_Event& event);
  Point find_screen_size();
  // Full screen: the monitors as the show sees them; none for the other surfaces.
  MonitorLayout find_monitors();

  SdlConfig config_;
  SdlVideo video_;
  X11Windows x11_;
  MonitorLayout monitors_;
  SdlDesktop desktop_;
  SdlApplication app_;
  FreeTypeText text_;
  SdlContext context_;
  std::unique_ptr<RedirectedFiles> files_;
  SdlFlashFactory flash_;
  SdlPreview preview_;
};

}  // namespace ss
