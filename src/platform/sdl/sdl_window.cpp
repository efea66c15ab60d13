#include "platform/sdl/sdl_window.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/error.h"
#include "gfx/raster.h"
#include "platform/core/clipped_canvas.h"
#include "platform/sdl/sdl_application.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/x11_windows.h"

namespace ss {
namespace {

constexpr const char* kTitle = "slidesaver";

bool contains(const Rect& r, Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

SDL_Window* make_window(const SdlContext& context) {
  const Point size = context.screen_size;
  switch (context.config.surface) {
    case HostSurface::kFullscreen:
      return SDL_CreateWindow(
          kTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, size.x, size.y,
          SDL_WINDOW_HIDDEN | SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
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

SdlWindow::SdlWindow(SdlContext& context) : context_(context) {
  window_ = make_window(context_);
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
  context_.windows.push_back(this);
  // The first window is the main one: the run shows it, and its closing ends the run.
  if (context_.windows.size() == 1) context_.app.set_main_window(this, [this] { show(); });
}

SdlWindow::~SdlWindow() {
  *alive_ = false;
  context_.targets.erase(window_id_);
  std::erase(context_.windows, this);
  context_.app.main_window_gone(this);
  presenter_.reset();
  // A window that SDL did not create stays; SDL only lets go of it.
  SDL_DestroyWindow(window_);
}

bool SdlWindow::foreign() const {
  return context_.config.surface == HostSurface::kForeignWindow ||
         context_.config.surface == HostSurface::kRootWindow;
}

void SdlWindow::attach(HostedControl* control) {
  if (control_ == control) return;
  set_control_hovered(false);
  control_ = control;
  if (control_ != nullptr) schedule_paint();
}

void SdlWindow::invalidate(const Rect& parent_rect) {
  if (parent_rect.empty()) return;
  schedule_paint();
}

void SdlWindow::repaint_now() {
  paint();
}

void SdlWindow::set_bounds(const Rect& screen_rect) {
  const bool resized =
      screen_rect.width() != bounds_.width() || screen_rect.height() != bounds_.height();
  bounds_ = screen_rect;
  background_dirty_ = true;
  if (resized) {
    image_.resize(bounds_.width(), bounds_.height());
    if (control_ != nullptr) control_->handle_parent_resized(parent_client_rect());
  }
  schedule_paint();
}

void SdlWindow::set_color(Color color) {
  color_ = color;
  background_dirty_ = true;
  schedule_paint();
}

void SdlWindow::set_topmost() {
  // A plain window on a desktop stays an ordinary window; the daemon stacks its own.
  if (context_.config.surface == HostSurface::kFullscreen)
    SDL_SetWindowAlwaysOnTop(window_, SDL_TRUE);
}

void SdlWindow::show() {
  if (visible_ || closed_) return;
  visible_ = true;
  background_dirty_ = true;
  // The form may close the window in either handler.
  const std::shared_ptr<bool> alive = alive_;
  if (events_ != nullptr) events_->handle_show();
  if (*alive && takes_input() && events_ != nullptr) events_->handle_activate();
  if (!*alive || !takes_input()) return;
  if (!foreign()) {
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
  }
  schedule_paint();
}

void SdlWindow::post_user_message(uint32_t message) {
  std::weak_ptr<bool> alive = alive_;
  context_.app.post_guarded([this, alive, message] {
    const std::shared_ptr<bool> still = alive.lock();
    if (still && *still && !closed_ && events_ != nullptr) events_->handle_user_message(message);
  });
}

void SdlWindow::close() {
  if (closing_ || closed_) return;
  closing_ = true;
  try {
    if (events_ != nullptr) events_->handle_close();
  } catch (...) {
    // A form whose close handler fails stays open, as the framework leaves it.
    closing_ = false;
    throw;
  }
  closing_ = false;
  closed_ = true;
  visible_ = false;
  set_control_hovered(false);
  if (!foreign()) SDL_HideWindow(window_);
  context_.app.main_window_gone(this);
}

void SdlWindow::release_capture() {
  SDL_CaptureMouse(SDL_FALSE);
}

intptr_t SdlWindow::native_handle() const {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window_, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return 0;
  return static_cast<intptr_t>(info.info.x11.window);
}

void SdlWindow::schedule_paint() {
  if (paint_pending_ || !takes_input()) return;
  paint_pending_ = true;
  std::weak_ptr<bool> alive = alive_;
  context_.app.post_guarded([this, alive] {
    const std::shared_ptr<bool> still = alive.lock();
    if (still && *still && paint_pending_) paint();
  });
}

void SdlWindow::paint() {
  paint_pending_ = false;
  if (!takes_input() || image_.empty()) return;
  Rect changed;
  if (background_dirty_) {
    fill(image_, image_.bounds(), resolve_color(color_));
    background_dirty_ = false;
    changed = image_.bounds();
  }
  if (control_ != nullptr) {
    const Rect area = control_->bounds_in_parent();
    ClippedCanvas canvas(image_, area);
    control_->handle_paint(canvas);
    if (changed.empty()) changed = area.intersect(image_.bounds());
  }
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

void SdlWindow::set_control_hovered(bool hovered) {
  if (hovered == control_hovered_) return;
  control_hovered_ = hovered;
  if (control_ == nullptr) return;
  if (hovered) {
    control_->handle_mouse_enter();
  } else {
    control_->handle_mouse_leave();
  }
}

void SdlWindow::mouse_moved(int32_t x, int32_t y, uint32_t shift) {
  if (!takes_input()) return;
  const Point client = to_client(x, y);
  const bool inside = contains(parent_client_rect(), client);
  const Rect control_area = control_ != nullptr ? control_->bounds_in_parent() : Rect{};
  const bool over_control = inside && contains(control_area, client);
  set_control_hovered(over_control);
  if (!inside) return;
  // The control reports a move over it itself; the form sees the rest of its client area.
  if (over_control) {
    control_->handle_mouse_move(
        {MouseButton::kLeft, shift, client.x - control_area.left, client.y - control_area.top});
  } else if (events_ != nullptr) {
    events_->handle_mouse_move(shift, client.x, client.y);
  }
}

void SdlWindow::mouse_button(bool down, uint8_t sdl_button, int32_t x, int32_t y, uint32_t shift) {
  if (!takes_input() || control_ == nullptr) return;
  const Point client = to_client(x, y);
  const Rect control_area = control_->bounds_in_parent();
  if (!contains(parent_client_rect(), client) || !contains(control_area, client)) return;
  const MouseButton button = sdl_button == SDL_BUTTON_RIGHT    ? MouseButton::kRight
                             : sdl_button == SDL_BUTTON_MIDDLE ? MouseButton::kMiddle
                                                               : MouseButton::kLeft;
  const MouseInput input{button, shift, client.x - control_area.left, client.y - control_area.top};
  if (down) {
    control_->handle_mouse_down(input);
  } else {
    control_->handle_mouse_up(input);
  }
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
          set_control_hovered(false);
          break;
        case SDL_WINDOWEVENT_CLOSE:
          close();
          break;
        default:
          break;
      }
      break;
    case SDL_KEYDOWN:
      if (takes_input() && events_ != nullptr) {
        events_->handle_key_down(virtual_key_of(event.key.keysym.sym),
                                 shift_state_of(event.key.keysym.mod, buttons));
      }
      break;
    case SDL_MOUSEMOTION:
      mouse_moved(event.motion.x, event.motion.y, shift_state_of(SDL_GetModState(), buttons));
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      mouse_button(event.type == SDL_MOUSEBUTTONDOWN, event.button.button, event.button.x,
                   event.button.y, shift_state_of(SDL_GetModState(), buttons));
      break;
    default:
      break;
  }
}

}  // namespace ss
