#include "platform/sdl/sdl_preview.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <optional>

namespace ss {
namespace {

std::optional<uint32_t> x_window_of(intptr_t window) {
  if (window <= 0 || window > 0x7FFFFFFF) return std::nullopt;
  return static_cast<uint32_t>(window);
}

}  // namespace

SdlPreview::~SdlPreview() {
  release();
}

void SdlPreview::release() {
  presenter_.reset();
  if (window_ == nullptr) return;
  context_.targets.erase(window_id_);
  SDL_DestroyWindow(window_);  // lets go of the foreign window; it stays
  window_ = nullptr;
}

bool SdlPreview::is_visible(intptr_t window) {
  const std::optional<uint32_t> id = x_window_of(window);
  if (!id) return false;
  const std::optional<X11WindowState> state = x11_.state(*id);
  return state && state->viewable;
}

Rect SdlPreview::window_rect(intptr_t window) {
  const std::optional<uint32_t> id = x_window_of(window);
  if (!id) return {};
  const std::optional<X11WindowState> state = x11_.state(*id);
  return state ? state->screen_rect : Rect{};
}

void SdlPreview::draw(intptr_t window, const Bitmap24& image) {
  const std::optional<uint32_t> id = x_window_of(window);
  if (!id || image.empty()) return;
  release();
  window_ = SDL_CreateWindowFrom(reinterpret_cast<const void*>(uintptr_t{*id}));
  if (window_ == nullptr) return;
  X11Windows::watch_foreign(window_);
  window_id_ = SDL_GetWindowID(window_);
  context_.targets[window_id_] = this;
  presenter_ = std::make_unique<SdlPresenter>(window_, true);
  // The image is drawn at the window's top-left corner and clipped: the part that fits.
  int w = 0;
  int h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  Bitmap24 visible(w, h);
  for (int32_t y = 0; y < std::min(h, image.height()); ++y) {
    for (int32_t x = 0; x < std::min(w, image.width()); ++x)
      visible.set_pixel(x, y, image.pixel(x, y));
  }
  presenter_->upload(visible, visible.bounds());
  presenter_->present();
}

void SdlPreview::handle_event(const SDL_Event& event) {
  if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_EXPOSED &&
      presenter_ != nullptr) {
    presenter_->present();
  }
}

}  // namespace ss
