#include "platform/sdl/sdl_monitors.h"

#include <SDL2/SDL.h>

#include <string>

#include "base/error.h"

namespace ss {

std::vector<Rect> list_monitors(X11Windows& x11) {
  std::vector<Rect> displays;
  const int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    SDL_Rect r;
    if (SDL_GetDisplayBounds(i, &r) == 0) displays.push_back({r.x, r.y, r.x + r.w, r.y + r.h});
  }
  if (displays.empty()) throw SaverError(std::string("No display mode: ") + SDL_GetError());
  std::vector<Rect> heads = x11.xinerama_heads();
  return heads.size() > displays.size() ? heads : displays;
}

}  // namespace ss
