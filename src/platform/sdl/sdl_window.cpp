#include "platform/sdl/sdl_window.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <optional>
#include <string>
#include <vector>

#include "base/error.h"
#include "platform/sdl/sdl_application.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_monitors.h"
#include "platform/sdl/x11_windows.h"

namespace ss {
namespace {

constexpr const char* kTitle = "slidesaver";

// A monitor that is a whole SDL display is filled by SDL's desktop full-screen mode, which a
// window manager keeps above its panels; a monitor that SDL sees only as part of a display
// (Xinerama without RandR) gets a borderless window placed over it.
SDL_Window* make_monitor_window(const Rect& monitor) {
  constexpr uint32_t kFlags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR;
  if (const std::optional<int> display = sdl_display_at(monitor)) {
    const int at = static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(*display));
    return SDL_CreateWindow(kTitle, at, at, monitor.width(), monitor.height(),
                            kFlags | SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  return SDL_CreateWindow(kTitle, monitor.left, monitor.top, monitor.width(), monitor.height(),
                          kFlags);
}

SDL_Window* make_window(const SdlContext& context, SdlWindow::Role role, const Rect& cover) {
  const Rect& primary = context.primary_monitor;
  if (role == SdlWindow::Role::kCover)
    return make_monitor_window(cover.offset(primary.left, primary.top));
  const Point size = context.screen_size;
  switch (context.config.surface) {
    case HostSurface::kFullscreen:
      return make_monitor_window(primary);
    case HostSurface::kWindow:
      return SDL_CreateWindow(kTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, size.x,
                              size.y, SDL_WINDOW_HIDDEN);
    case HostSurface::kForeignWindow:
    case HostSurface::kRootWindow:
      break;
  }
  SDL_Window* window =
      SDL_CreateWindowFrom(reinterpret_cast<const void*>(uintptr_t{context.target_window}));
  if (window != nullptr) X11Windows::watch_foreign(window);
  return window;
}

}  // namespace

SdlWindow::SdlWindow(SdlContext& context, Role role, const Rect& cover)
    : FormWindow(static_cast<NativeSurface&>(*this)), context_(context), role_(role) {
  window_ = make_window(context_, role_, cover);
  if (window_ == nullptr)
    throw SaverError(std::string("Cannot create a window: ") + SDL_GetError());
  try {
    presenter_ = std::make_unique<SdlPresenter>(window_, foreign());
  } catch (...) {
    SDL_DestroyWindow(window_);
    throw;
  }
  window_id_ = SDL_GetWindowID(window_);
  context_.targets[window_id_] = this;
  if (role_ == Role::kCover) return;
  context_.windows.push_back(this);
  // The first window is the main one: the run shows it, and its closing ends the run.
  if (context_.windows.size() == 1) context_.app.set_main_window(this);
}

SdlWindow::~SdlWindow() {
  context_.targets.erase(window_id_);
  std::erase(context_.windows, this);
  if (context_.app.main_window() == this) {
    // Gone without closing: the run ends all the same.
    context_.app.set_main_window(nullptr);
    context_.app.terminate();
  }
  presenter_.reset();
  // A window that SDL did not create stays; SDL only lets go of it.
  SDL_DestroyWindow(window_);
}

bool SdlWindow::foreign() const {
  return role_ == Role::kShow && (context_.config.surface == HostSurface::kForeignWindow ||
                                  context_.config.surface == HostSurface::kRootWindow);
}

void SdlWindow::place(const Rect& screen_rect) {
  if (screen_rect.width() != image_.width() || screen_rect.height() != image_.height())
    image_.resize(screen_rect.width(), screen_rect.height());
}

void SdlWindow::raise_topmost() {
  // A plain window on a desktop stays an ordinary window; the daemon stacks its own.
  if (context_.config.surface == HostSurface::kFullscreen)
    SDL_SetWindowAlwaysOnTop(window_, SDL_TRUE);
}

void SdlWindow::show_native(ShowStage stage) {
  // Shown once the form has taken its size, so that the window never shows a stale image.
  if (stage != ShowStage::kAfterActivation || foreign()) return;
  SDL_ShowWindow(window_);
  // A cover leaves the keyboard with the show.
  if (role_ == Role::kShow) SDL_RaiseWindow(window_);
}

void SdlWindow::window_closed() {
  if (!foreign()) SDL_HideWindow(window_);
  context_.app.window_closed(this);
}

void SdlWindow::release_mouse_capture() {
  SDL_CaptureMouse(SDL_FALSE);
}

intptr_t SdlWindow::window_handle() const {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window_, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return 0;
  return static_cast<intptr_t>(info.info.x11.window);
}

void SdlWindow::post(Task task) {
  context_.app.post_guarded(std::move(task));
}

void SdlWindow::present(const Rect& changed) {
  presenter_->upload(image_, changed);
  presenter_->present();
}

Point SdlWindow::to_client(int32_t x, int32_t y) const {
  int w = 0;
  int h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  if (w <= 0 || h <= 0 || (w == image_.width() && h == image_.height())) return {x, y};
  return {static_cast<int32_t>(int64_t{x} * image_.width() / w),
          static_cast<int32_t>(int64_t{y} * image_.height() / h)};
}

void SdlWindow::handle_event(const SDL_Event& event) {
  const uint32_t buttons = SDL_GetMouseState(nullptr, nullptr);
  switch (event.type) {
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          if (takes_input()) presenter_->present();
          break;
        case SDL_WINDOWEVENT_LEAVE:
          mouse_left();
          break;
        case SDL_WINDOWEVENT_CLOSE:
          close();
          break;
        default:
          break;
      }
      break;
    case SDL_KEYDOWN:
      key_down(virtual_key_of(event.key.keysym.sym), shift_state_of(event.key.keysym.mod, buttons));
      break;
    case SDL_MOUSEMOTION:
      mouse_move(to_client(event.motion.x, event.motion.y),
                 shift_state_of(SDL_GetModState(), buttons));
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const uint8_t b = event.button.button;
      const MouseButton button = b == SDL_BUTTON_RIGHT    ? MouseButton::kRight
                                 : b == SDL_BUTTON_MIDDLE ? MouseButton::kMiddle
                                                          : MouseButton::kLeft;
      mouse_button(event.type == SDL_MOUSEBUTTONDOWN, button,
                   to_client(event.button.x, event.button.y),
                   shift_state_of(SDL_GetModState(), buttons));
      break;
    }
    default:
      break;
  }
}

}  // namespace ss
