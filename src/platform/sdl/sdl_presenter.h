#pragma once
// Puts our frames on an SDL window: a renderer with vsync where the driver offers it, and one
// streaming texture of the frame's size that is stretched over the whole window. Only the
// changed part of a frame is converted and uploaded; the texture keeps the rest, so an exposed
// window is presented again without repainting.
#include <cstdint>

#include "gfx/bitmap24.h"
#include "gfx/geometry.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace ss {

class SdlPresenter {
 public:
  // software: the renderer that draws through X itself, the one a foreign window can take.
  // Throws SaverError when no renderer can be made.
  SdlPresenter(SDL_Window* window, bool software);
  ~SdlPresenter();
  SdlPresenter(const SdlPresenter&) = delete;
  SdlPresenter& operator=(const SdlPresenter&) = delete;

  // Converts `area` of frame into the texture, which takes the frame's size first.
  void upload(const Bitmap24& frame, const Rect& area);
  // Shows the texture, stretched over the window.
  void present();
  int presents() const { return presents_; }
  const char* renderer_name() const;

 private:
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int presents_ = 0;
};

}  // namespace ss
