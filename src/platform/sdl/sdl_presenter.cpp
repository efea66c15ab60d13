#include "platform/sdl/sdl_presenter.h"

#include <SDL2/SDL.h>

#include <string>

#include "base/error.h"

namespace ss {

SdlPresenter::SdlPresenter(SDL_Window* window, bool software) {
  if (!software) renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC);
  if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (renderer_ == nullptr) throw SaverError(std::string("No renderer: ") + SDL_GetError());
}

SdlPresenter::~SdlPresenter() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  SDL_DestroyRenderer(renderer_);
}

const char* SdlPresenter::renderer_name() const {
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer_, &info) != 0) return "unknown";
  return info.name;
}

void SdlPresenter::upload(const Bitmap24& frame, const Rect& area) {
  if (frame.empty()) return;
  if (texture_ == nullptr || width_ != frame.width() || height_ != frame.height()) {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                 frame.width(), frame.height());
    if (texture_ == nullptr) throw SaverError(std::string("No texture: ") + SDL_GetError());
    width_ = frame.width();
    height_ = frame.height();
    // A new texture has no content yet: it takes the whole frame.
    upload(frame, frame.bounds());
    return;
  }
  const Rect part = area.intersect(frame.bounds());
  if (part.empty()) return;
  const SDL_Rect rect{part.left, part.top, part.width(), part.height()};
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture_, &rect, &pixels, &pitch) != 0) return;
  // Blue, green, red in our rows; blue, green, red, alpha in the texture's (little-endian ARGB).
  for (int32_t y = 0; y < part.height(); ++y) {
    const uint8_t* from = frame.row(part.top + y) + static_cast<size_t>(part.left) * 3;
    uint8_t* to = static_cast<uint8_t*>(pixels) + static_cast<size_t>(y) * pitch;
    for (int32_t x = 0; x < part.width(); ++x, from += 3, to += 4) {
      to[0] = from[0];
      to[1] = from[1];
      to[2] = from[2];
      to[3] = 0xFF;
    }
  }
  SDL_UnlockTexture(texture_);
}

void SdlPresenter::present() {
  if (texture_ == nullptr) return;
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
  ++presents_;
}

}  // namespace ss
