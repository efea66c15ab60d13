#include "platform/sdl/sdl_platform.h"

#include <SDL2/SDL.h>

#include <string>

#include "base/error.h"
#include "base/path.h"
#include "platform/sdl/redirected_files.h"
#include "platform/sdl/sdl_media_player.h"
#include "platform/sdl/sdl_monitors.h"
#include "platform/sdl/sdl_setup_view.h"
#include "platform/sdl/sdl_window.h"

namespace ss {
namespace {

// The window an event is about; 0 for events of no window.
uint32_t window_id_of(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT:
      return event.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return event.key.windowID;
    case SDL_MOUSEMOTION:
      return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return event.button.windowID;
    default:
      return 0;
  }
}

std::string application_title(const std::string& executable_path) {
  std::string name = file_name_of(executable_path);
  if (const size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.resize(dot);
  return name.empty() ? "slidesaver" : name;
}

}  // namespace

SdlVideo::SdlVideo(HostSurface surface) {
  // A window close asks the window to close; only a signal means "quit".
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // Drawing for the screen-saver daemon must not keep the desktop from blanking.
  if (surface == HostSurface::kForeignWindow || surface == HostSurface::kRootWindow)
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0)
    throw SaverError(std::string("Cannot open the display: ") + SDL_GetError());
  X11Windows::drop_stale_wakeup_errors();
}

SdlVideo::~SdlVideo() {
  SDL_Quit();
}

SdlPlatform::SdlPlatform(SdlConfig config)
    : config_(std::move(config)),
      video_(config_.surface),
      monitors_(find_monitors()),
      desktop_(),
      app_(desktop_, application_title(
                         config_.executable_path.value_or(native_file_system().executable_path()))),
      context_{.config = config_,
               .app = app_,
               .desktop = desktop_,
               .text = text_,
               .screen_size = find_screen_size()},
      files_(std::make_unique<RedirectedFiles>(native_file_system(), config_.executable_path,
                                               config_.temp_directory)),
      preview_(context_, x11_) {
  if (config_.surface == HostSurface::kForeignWindow)
    context_.target_window = config_.foreign_window;
  if (config_.surface == HostSurface::kRootWindow) context_.target_window = x11_.root_window();
  desktop_.set_screen_size(context_.screen_size);
  if (config_.surface == HostSurface::kFullscreen) {
    context_.primary_monitor = monitors_.primary;
    desktop_.set_other_monitors(monitors_.others);
  }
  app_.sdl_loop().set_event_handler(
      [this](const SDL_Event& event) { app_.guarded([this, &event] { route(event); })(); });
}

SdlPlatform::~SdlPlatform() {
  SdlMediaPlayer::shut_down_audio();
}

FileSystem& SdlPlatform::files() {
  return *files_;
}

SdlWindow* SdlPlatform::window() const {
  return context_.windows.empty() ? nullptr : context_.windows.back();
}

Point SdlPlatform::find_screen_size() {
  switch (config_.surface) {
    case HostSurface::kFullscreen:
      return {monitors_.primary.width(), monitors_.primary.height()};
    case HostSurface::kWindow:
      return config_.window_size;
    case HostSurface::kForeignWindow:
    case HostSurface::kRootWindow:
      break;
  }
  const uint32_t window =
      config_.surface == HostSurface::kRootWindow ? x11_.root_window() : config_.foreign_window;
  const std::optional<X11WindowState> state = x11_.state(window);
  if (!state || state->screen_rect.empty())
    throw SaverError("No such X window: " + std::to_string(window));
  return {state->screen_rect.width(), state->screen_rect.height()};
}

MonitorLayout SdlPlatform::find_monitors() {
  if (config_.surface != HostSurface::kFullscreen) return {};
  return arrange_monitors(list_monitors(x11_));
}

std::unique_ptr<ShowWindow> SdlPlatform::create_window() {
  return std::make_unique<SdlWindow>(context_);
}

std::unique_ptr<ShowWindow> SdlPlatform::create_cover_window(const Rect& monitor) {
  return std::make_unique<SdlWindow>(context_, SdlWindow::Role::kCover, monitor);
}

std::unique_ptr<MediaPlayer> SdlPlatform::create_media_player() {
  return std::make_unique<SdlMediaPlayer>(app_);
}

std::unique_ptr<SetupView> SdlPlatform::create_setup_view(const SetupDialogLayout& layout) {
  return std::make_unique<SdlSetupView>(context_, layout);
}

void SdlPlatform::route(const SDL_Event& event) {
  if (event.type == SDL_QUIT) {
    // A signal: the show's window closes as if the user had left, so its clean-up runs.
    if (SdlWindow* shown = window()) shown->close();
    app_.terminate();
    return;
  }
  const uint32_t id = window_id_of(event);
  if (id == 0) return;
  if (const auto found = context_.targets.find(id); found != context_.targets.end())
    found->second->handle_event(event);
}

}  // namespace ss
