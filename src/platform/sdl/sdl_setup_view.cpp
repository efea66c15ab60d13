#include "platform/sdl/sdl_setup_view.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <string>

#include "base/error.h"
#include "gfx/raster.h"
#include "platform/sdl/freetype_text.h"
#include "platform/sdl/sdl_application.h"
#include "platform/sdl/sdl_desktop.h"

namespace ss {
namespace {

constexpr int32_t kBoxSize = 13;
constexpr int32_t kBoxGap = 4;
constexpr Color kHighlight = 0xFFFFFF;
constexpr Color kShadow = 0x808080;
constexpr Color kBoxFrame = 0x404040;

size_t slot(SetupControl control) {
  return static_cast<size_t>(control);
}

// A caption's "&" marks the keyboard accelerator; "&&" is a plain "&".
std::string without_accelerator(const std::string& caption) {
  std::string text;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    text += caption[i];
  }
  return text;
}

TextFontSpec text_font_of(const SetupFont& font) {
  return {.face = std::string(font.face), .height = font.height, .color = font.color};
}

TextStyle style_of(const SetupFont& font) {
  return {.bold = font.bold, .underline = font.underline};
}

void bevel(Bitmap24& image, const Rect& r, Color light, Color dark) {
  if (r.empty()) return;
  fill(image, {r.left, r.top, r.right, r.top + 1}, light);
  fill(image, {r.left, r.top, r.left + 1, r.bottom}, light);
  fill(image, {r.left, r.bottom - 1, r.right, r.bottom}, dark);
  fill(image, {r.right - 1, r.top, r.right, r.bottom}, dark);
}

void tick(Bitmap24& image, const Rect& box, Color color) {
  // A check mark of two strokes, two pixels thick.
  const int32_t x = box.left + 3;
  const int32_t y = box.top + 6;
  for (int32_t i = 0; i < 3; ++i) fill(image, {x + i, y + i, x + i + 1, y + i + 2}, color);
  for (int32_t i = 0; i < 5; ++i) fill(image, {x + 3 + i, y + 1 - i, x + 4 + i, y + 3 - i}, color);
}

}  // namespace

SdlSetupView::SdlSetupView(SdlContext& context, const SetupDialogLayout& layout)
    : context_(context), layout_(layout) {
  window_caption_ = std::string(layout.caption);
  for (const SetupControlLayout& c : layout.controls) {
    if (c.control) captions_[slot(*c.control)] = std::string(c.caption);
  }
  window_ = SDL_CreateWindow(window_caption_.c_str(), SDL_WINDOWPOS_CENTERED,
                             SDL_WINDOWPOS_CENTERED, layout.client_width, layout.client_height,
                             SDL_WINDOW_HIDDEN | (layout.sizeable ? SDL_WINDOW_RESIZABLE : 0));
  if (window_ == nullptr)
    throw SaverError(std::string("Cannot create a window: ") + SDL_GetError());
  try {
    presenter_ = std::make_unique<SdlPresenter>(window_, false);
  } catch (...) {
    SDL_DestroyWindow(window_);
    throw;
  }
  window_id_ = SDL_GetWindowID(window_);
  context_.targets[window_id_] = this;
}

SdlSetupView::~SdlSetupView() {
  *alive_ = false;
  if (hovered_label_) context_.desktop.set_hand_cursor(false);
  context_.targets.erase(window_id_);
  // The dialog is the run's main window: its going ends the run.
  if (!closed_) context_.app.terminate();
  presenter_.reset();
  SDL_DestroyWindow(window_);
}

void SdlSetupView::set_window_caption(const std::string& caption) {
  window_caption_ = caption;
  SDL_SetWindowTitle(window_, caption.c_str());
}

void SdlSetupView::set_caption(SetupControl control, const std::string& caption) {
  captions_[slot(control)] = caption;
  schedule_paint();
}

std::string SdlSetupView::caption(SetupControl control) const {
  return captions_[slot(control)];
}

void SdlSetupView::set_checked(bool checked) {
  checked_ = checked;
  schedule_paint();
}

void SdlSetupView::show() {
  if (visible_ || closed_) return;
  visible_ = true;
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  const std::shared_ptr<bool> alive = alive_;
  if (events_ != nullptr) events_->handle_show();
  if (*alive) paint();
}

void SdlSetupView::close() {
  if (closed_) return;
  closed_ = true;
  visible_ = false;
  SDL_HideWindow(window_);
  context_.app.terminate();
}

intptr_t SdlSetupView::native_handle() const {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window_, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return 0;
  return static_cast<intptr_t>(info.info.x11.window);
}

Point SdlSetupView::client_size() const {
  int w = 0;
  int h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  return {w, h};
}

Rect SdlSetupView::layout_rect(int index, Point client) const {
  const SetupDialogLayout& layout = layout_;
  const SetupControlLayout& c = layout.controls[static_cast<size_t>(index)];
  if (c.kind == SetupControlKind::kPanel && c.align != SetupAlign::kNone) {
    const int32_t h = c.bounds.height();
    return c.align == SetupAlign::kTop ? Rect{0, 0, client.x, h}
                                       : Rect{0, client.y - h, client.x, client.y};
  }
  const Rect parent =
      c.parent >= 0 ? layout_rect(c.parent, client) : Rect{0, 0, client.x, client.y};
  Rect r = c.bounds.offset(parent.left, parent.top);
  if (c.kind == SetupControlKind::kLabel) {
    // Labels size themselves to their text; without text they have no area.
    const std::string& text = captions_[slot(*c.control)];
    if (text.empty()) return {};
    const TextExtent extent =
        context_.text.measure_styled(text, text_font_of(c.font), style_of(c.font));
    r = {r.left, r.top, r.left + extent.cx, r.top + extent.cy};
  }
  return r;
}

Rect SdlSetupView::control_rect(SetupControl control) {
  const auto& controls = layout_.controls;
  for (size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].control == control) return layout_rect(static_cast<int>(i), client_size());
  }
  return {};
}

void SdlSetupView::schedule_paint() {
  if (paint_pending_ || !visible_) return;
  paint_pending_ = true;
  std::weak_ptr<bool> alive = alive_;
  context_.app.post_guarded([this, alive] {
    const std::shared_ptr<bool> still = alive.lock();
    if (still && *still && paint_pending_) paint();
  });
}

void SdlSetupView::paint() {
  paint_pending_ = false;
  if (!visible_) return;
  const SetupDialogLayout& layout = layout_;
  const Point client = client_size();
  if (client.x <= 0 || client.y <= 0) return;
  if (image_.width() != client.x || image_.height() != client.y) image_.resize(client.x, client.y);
  fill(image_, image_.bounds(), resolve_color(layout.color));
  FreeTypeText& text = context_.text;
  for (size_t i = 0; i < layout.controls.size(); ++i) {
    const SetupControlLayout& c = layout.controls[i];
    const Rect r = layout_rect(static_cast<int>(i), client);
    const std::string caption = c.control ? without_accelerator(captions_[slot(*c.control)]) : "";
    const TextFontSpec font = text_font_of(c.font);
    switch (c.kind) {
      case SetupControlKind::kPanel:
        bevel(image_, r, kHighlight, kShadow);
        break;
      case SetupControlKind::kLabel:
        text.draw_styled(image_, r.left, r.top, captions_[slot(*c.control)], font,
                         style_of(c.font));
        break;
      case SetupControlKind::kCheckBox: {
        const int32_t top = r.top + (r.height() - kBoxSize) / 2;
        const Rect box{r.left, top, r.left + kBoxSize, top + kBoxSize};
        fill(image_, box, kWhite);
        bevel(image_, box, kBoxFrame, kBoxFrame);
        if (checked_) tick(image_, box, resolve_color(c.font.color));
        const TextExtent extent = text.measure(caption, font);
        text.draw(image_, box.right + kBoxGap, r.top + (r.height() - extent.cy) / 2, caption, font);
        break;
      }
      case SetupControlKind::kButton: {
        fill(image_, r, resolve_color(static_cast<Color>(0xFF00000Fu)));
        bevel(image_, r, kHighlight, kShadow);
        const TextExtent extent = text.measure(caption, font);
        text.draw(image_, r.left + (r.width() - extent.cx) / 2,
                  r.top + (r.height() - extent.cy) / 2, caption, font);
        break;
      }
    }
  }
  presenter_->upload(image_, image_.bounds());
  presenter_->present();
}

std::optional<SetupControl> SdlSetupView::control_at(Point p) {
  const auto& controls = layout_.controls;
  const Point client = client_size();
  for (size_t i = 0; i < controls.size(); ++i) {
    if (!controls[i].control) continue;
    if (layout_rect(static_cast<int>(i), client).contains(p)) return controls[i].control;
  }
  return std::nullopt;
}

void SdlSetupView::pointer_moved(Point p) {
  std::optional<SetupControl> label = control_at(p);
  if (label && *label != SetupControl::lblEmail && *label != SetupControl::lblWeb) label.reset();
  if (label == hovered_label_) return;
  const std::optional<SetupControl> left = hovered_label_;
  hovered_label_ = label;
  if (events_ == nullptr) return;
  if (left) events_->handle_label_leave(*left);
  if (label) events_->handle_label_enter(*label);
}

void SdlSetupView::clicked(SetupControl control) {
  if (events_ == nullptr) return;
  switch (control) {
    case SetupControl::cbMute:
      checked_ = !checked_;
      paint();
      events_->handle_mute_click();
      break;
    case SetupControl::OKButton:
      events_->handle_ok_click();
      break;
    case SetupControl::lblEmail:
    case SetupControl::lblWeb:
      events_->handle_label_click(control);
      break;
    default:
      break;
  }
}

void SdlSetupView::handle_event(const SDL_Event& event) {
  if (!visible_ || closed_) return;
  switch (event.type) {
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        close();
      } else if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        paint();
      } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
        presenter_->present();
      } else if (event.window.event == SDL_WINDOWEVENT_LEAVE) {
        pointer_moved({-1, -1});
      }
      break;
    case SDL_MOUSEMOTION:
      pointer_moved({event.motion.x, event.motion.y});
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button == SDL_BUTTON_LEFT)
        pressed_ = control_at({event.button.x, event.button.y});
      break;
    case SDL_MOUSEBUTTONUP:
      if (event.button.button == SDL_BUTTON_LEFT) {
        const std::optional<SetupControl> pressed = pressed_;
        pressed_.reset();
        // A click is a press and a release on the same control.
        if (pressed && pressed == control_at({event.button.x, event.button.y})) clicked(*pressed);
      }
      break;
    default:
      break;
  }
}

}  // namespace ss
