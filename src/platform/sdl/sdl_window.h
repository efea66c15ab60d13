#pragma once
// The show window on SDL. Where it lies is the platform's choice, not the form's: over the
// primary monitor, a plain window of the asked size, or an X window that someone else made
// (the screen-saver daemon's, or the root window); a cover window lies over the other monitor
// it was made for. The form's bounds only give the size of the client image, which is the size
// of what the window covers once the show has been activated; the image is stretched over the
// window until then.
//
// The shared form window composes the client image; this surface presents the changed rows
// through a streaming texture (SdlPresenter) and turns SDL's events into the form window's.
#include <cstdint>
#include <memory>

#include "gfx/bitmap24.h"
#include "platform/core/form_window.h"
#include "platform/sdl/sdl_context.h"
#include "platform/sdl/sdl_presenter.h"

struct SDL_Window;

namespace ss {

class SdlWindow final : private NativeSurface, public FormWindow, private SdlEventTarget {
 public:
  enum class Role : uint8_t { kShow, kCover };
  // Throws SaverError when the window cannot be made.
  // A cover is made over `cover`, in the show's coordinates.
  explicit SdlWindow(SdlContext& context, Role role = Role::kShow, const Rect& cover = {});
  ~SdlWindow() override;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  int frames_presented() const { return presenter_->presents(); }
  const char* renderer_name() const { return presenter_->renderer_name(); }

 private:
  // NativeSurface.
  Bitmap24& client_image() override { return image_; }
  void present(const Rect& changed) override;
  void place(const Rect& screen_rect) override;
  void show_native(ShowStage stage) override;
  void window_closed() override;
  void raise_topmost() override;
  void release_mouse_capture() override;
  intptr_t window_handle() const override;
  void post(Task task) override;

  void handle_event(const SDL_Event& event) override;
  bool foreign() const;
  // Window coordinates to client-image coordinates (they differ while the image is stretched).
  Point to_client(int32_t x, int32_t y) const;

  SdlContext& context_;
  Role role_;
  SDL_Window* window_ = nullptr;
  uint32_t window_id_ = 0;
  std::unique_ptr<SdlPresenter> presenter_;
  Bitmap24 image_;
};

}  // namespace ss
