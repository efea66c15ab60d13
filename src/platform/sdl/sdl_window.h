#pragma once
// The show window on SDL. Where it lies is the platform's choice, not the form's: a borderless
// window over the whole primary display, a plain window of the asked size, or an X window that
// someone else made (the screen-saver daemon's, or the root window). The form's bounds only
// give the size of the client image, which is the size of what the window covers once the show
// has been activated; the image is stretched over the window until then.
//
// Painting composes the client image in memory (the window's colour, then the control) and
// presents it through a streaming texture (SdlPresenter). invalidate posts one paint message;
// repaint_now paints at once. Input is routed as the system would: a move over the control to
// the control, elsewhere to the form; a button to the control; keys to the form.
#include <cstdint>
#include <memory>

#include "gfx/bitmap24.h"
#include "platform/sdl/sdl_context.h"
#include "platform/sdl/sdl_presenter.h"
#include "platform/show_window.h"

struct SDL_Window;

namespace ss {

class SdlWindow final : public ShowWindow, private SdlEventTarget {
 public:
  // Throws SaverError when the window cannot be made.
  explicit SdlWindow(SdlContext& context);
  ~SdlWindow() override;
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  // ControlHost.
  void attach(HostedControl* control) override;
  Rect parent_client_rect() const override { return {0, 0, bounds_.width(), bounds_.height()}; }
  void invalidate(const Rect& parent_rect) override;
  void repaint_now() override;
  bool design_time() const override { return false; }

  // ShowWindow.
  void set_events(FormEvents* events) override { events_ = events; }
  void set_bounds(const Rect& screen_rect) override;
  Rect bounds() const override { return bounds_; }
  void set_color(Color color) override;
  void set_topmost() override;
  void show() override;
  bool visible() const override { return visible_; }
  void hide_application_window() override {}
  void post_user_message(uint32_t message) override;
  void close() override;
  void release_capture() override;
  intptr_t native_handle() const override;

  int frames_presented() const { return presenter_->presents(); }
  const char* renderer_name() const { return presenter_->renderer_name(); }

 private:
  void handle_event(const SDL_Event& event) override;
  bool takes_input() const { return visible_ && !closed_; }
  bool foreign() const;
  void schedule_paint();
  void paint();
  void mouse_moved(int32_t x, int32_t y, uint32_t shift);
  void mouse_button(bool down, uint8_t sdl_button, int32_t x, int32_t y, uint32_t shift);
  void set_control_hovered(bool hovered);
  // Window coordinates to client-image coordinates (they differ while the image is stretched).
  Point to_client(int32_t x, int32_t y) const;

  SdlContext& context_;
  SDL_Window* window_ = nullptr;
  uint32_t window_id_ = 0;
  std::unique_ptr<SdlPresenter> presenter_;
  FormEvents* events_ = nullptr;
  HostedControl* control_ = nullptr;
  Bitmap24 image_;
  Rect bounds_;
  Color color_ = static_cast<Color>(0xFF00000Fu);  // the system's face colour
  bool visible_ = false;
  bool closing_ = false;
  bool closed_ = false;
  bool background_dirty_ = true;
  bool paint_pending_ = false;
  bool control_hovered_ = false;
  // Messages still queued for this window check it before they touch the window.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ss
