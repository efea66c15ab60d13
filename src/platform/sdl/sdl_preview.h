#pragma once
// The preview's foreign window on X: its state is asked of the X server, and the picture is
// presented into it through SDL, on a window SDL takes over from its handle. What was drawn is
// presented again when the window is exposed, since an X window keeps no content of its own.
#include <cstdint>
#include <memory>

#include "platform/preview_target.h"
#include "platform/sdl/sdl_context.h"
#include "platform/sdl/sdl_presenter.h"
#include "platform/sdl/x11_windows.h"

struct SDL_Window;

namespace ss {

class SdlPreview final : public PreviewTarget, private SdlEventTarget {
 public:
  SdlPreview(SdlContext& context, X11Windows& x11) : context_(context), x11_(x11) {}
  ~SdlPreview() override;
  SdlPreview(const SdlPreview&) = delete;
  SdlPreview& operator=(const SdlPreview&) = delete;

  bool is_visible(intptr_t window) override;
  Rect window_rect(intptr_t window) override;
  void draw(intptr_t window, const Bitmap24& image) override;

 private:
  void handle_event(const SDL_Event& event) override;
  void release();

  SdlContext& context_;
  X11Windows& x11_;
  SDL_Window* window_ = nullptr;
  uint32_t window_id_ = 0;
  std::unique_ptr<SdlPresenter> presenter_;
};

}  // namespace ss
