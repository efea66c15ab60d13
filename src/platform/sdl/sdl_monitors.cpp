#include "platform/sdl/sdl_monitors.h"

#include <SDL2/SDL.h>

#include <string>

#include "base/error.h"

namespace ss {

namespace {

std::optional<Rect> display_bounds(int index) {
  SDL_Rect r;
  if (SDL_GetDisplayBounds(index, &r) != 0) return std::nullopt;
  return Rect{r.x, r.y, r.x + r.w, r.y + r.h};
}

}  // namespace

std::vector<Rect> list_monitors(X11Windows& x11) {
  std::vector<Rect> displays;
  const int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    if (const std::optional<Rect> bounds = display_bounds(i)) displays.push_back(*bounds);
  }
  if (displays.empty()) throw SaverError(std::string("No display mode: ") + SDL_GetError());
  std::vector<Rect> heads = x11.xinerama_heads();
  return heads.size() > displays.size() ? heads : displays;
}

std::optional<int> sdl_display_at(const Rect& monitor) {
  const int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    if (display_bounds(i) == monitor) return i;
  }
  return std::nullopt;
}

}  // namespace ss
