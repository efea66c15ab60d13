#pragma once
// The setup dialog in a small SDL window, drawn by us from the designed layout: the two panels,
// the labels (the address labels blue and underlined), the mute box and the OK button, in the
// layout's colours and fonts (matched by fontconfig). The mouse works it: a click on the box
// or its caption toggles it, a click on OK presses it, pointing at an address label turns the
// cursor into the hand and a click opens it. The frame can be resized; the panels keep their
// alignment. Closing the window from the window manager closes the dialog without storing
// anything, like leaving it without OK.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "gfx/bitmap24.h"
#include "platform/sdl/sdl_context.h"
#include "platform/sdl/sdl_presenter.h"
#include "platform/setup_view.h"

struct SDL_Window;

namespace ss {

class SdlSetupView final : public SetupView, private SdlEventTarget {
 public:
  SdlSetupView(SdlContext& context, const SetupDialogLayout& layout);
  ~SdlSetupView() override;
  SdlSetupView(const SdlSetupView&) = delete;
  SdlSetupView& operator=(const SdlSetupView&) = delete;

  void set_events(SetupEvents* events) override { events_ = events; }
  void set_window_caption(const std::string& caption) override;
  std::string window_caption() const override { return window_caption_; }
  void set_caption(SetupControl control, const std::string& caption) override;
  std::string caption(SetupControl control) const override;
  void set_checked(bool checked) override;
  bool checked() const override { return checked_; }
  void show() override;
  bool visible() const override { return visible_; }
  void close() override;
  intptr_t native_handle() const override;

  // Where a control lies in the client area now (a label without text has no area); for the
  // tests, which click through the real window.
  Rect control_rect(SetupControl control);
  // The dialog as last drawn.
  const Bitmap24& image() const { return image_; }

 private:
  void handle_event(const SDL_Event& event) override;
  void paint();
  void schedule_paint();
  Point client_size() const;
  Rect layout_rect(int index, Point client) const;
  std::optional<SetupControl> control_at(Point p);
  void pointer_moved(Point p);
  void clicked(SetupControl control);

  SdlContext& context_;
  const SetupDialogLayout& layout_;
  SDL_Window* window_ = nullptr;
  uint32_t window_id_ = 0;
  std::unique_ptr<SdlPresenter> presenter_;
  SetupEvents* events_ = nullptr;
  std::string window_caption_;
  std::array<std::string, 6> captions_;
  Bitmap24 image_;
  bool checked_ = false;
  bool visible_ = false;
  bool closed_ = false;
  bool paint_pending_ = false;
  std::optional<SetupControl> hovered_label_;
  std::optional<SetupControl> pressed_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ss
