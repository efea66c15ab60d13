// Construction, properties, change handlers, placement and input of the picture show control.
#include "transition/transition_view.h"

#include <algorithm>

#include "transition/animate_thread.h"
#include "transition/transition_view_internal.h"

namespace ss {

TCustomTransitionView::TCustomTransitionView(ControlHost& host, MessageLoop& loop, Clock& clock)
    : host_(host), loop_(loop), clock_(clock) {
  SetBounds(0, 0, 100, 100);
  host_.attach(this);
}

TCustomTransitionView::~TCustomTransitionView() {
  destroying_ = true;
  // The wait serves the threads' requests: a pending step sees the thread terminated and does
  // nothing, and the termination handler fires nothing while destroying.
  if (animation_thread_) animation_thread_->Terminate();
  for (auto& retired : retired_threads_) retired->Terminate();
  while (animation_thread_ || !retired_threads_.empty()) {
    try {
      loop_.serve_requests(view_internal::kThreadWaitSliceMs);
    } catch (...) {
      // Another control's request failed; it is not ours to report from a destructor.
    }
  }
  *alive_ = false;
  host_.attach(nullptr);
}

void TCustomTransitionView::SetPicture(const Picture& value) {
  picture_ = value;
  PictureChanged();
}

void TCustomTransitionView::SetBgPicture(const Picture& value) {
  bg_picture_ = value;
  BackgroundChanged();
}

void TCustomTransitionView::SetBgMode(TBackgroundMode value) {
  if (value == bg_mode_) return;
  bg_mode_ = value;
  if (bg_picture_.has_graphic() && !painting_) Invalidate();
}

void TCustomTransitionView::SetAutoSize(bool value) {
  if (value == auto_size_) return;
  auto_size_ = value;
  if (value) AdjustSizeToPicture();
}

void TCustomTransitionView::SetCenter(bool value) {
  if (value == center_) return;
  center_ = value;
  if (picture_.has_graphic()) {
    UpdatePictureRect();
    if (ShouldRepaintScreen()) Invalidate();
  }
}

void TCustomTransitionView::SetStretch(bool value) {
  if (value == stretch_) return;
  stretch_ = value;
  if (ShouldRepaintScreen()) Invalidate();
}

void TCustomTransitionView::SetStretchFine(bool value) {
  if (value == stretch_fine_) return;
  stretch_fine_ = value;
  if (ShouldRepaintScreen()) Invalidate();
}

void TCustomTransitionView::SetStyle(int32_t value) {
  style_ = std::clamp(value, 0, 255);
}

void TCustomTransitionView::SetStep(int32_t value) {
  step_ = std::clamp(value, 1, 100);
}

void TCustomTransitionView::SetDelay(int32_t value) {
  delay_ = std::clamp(value, 0, 65535);
}

void TCustomTransitionView::SetColor(Color value) {
  if (value == color_) return;
  color_ = value;
  parent_color_ = false;
  Invalidate();
}

void TCustomTransitionView::SetParentColor(bool value) {
  if (value == parent_color_) return;
  parent_color_ = value;
  if (value && known_parent_color_) CMParentColorChanged(*known_parent_color_);
}

void TCustomTransitionView::CMParentColorChanged(Color parent_color) {
  known_parent_color_ = parent_color;
  if (!parent_color_ || parent_color == color_) return;
  color_ = parent_color;
  Invalidate();
}

void TCustomTransitionView::SetAlign(TAlign value) {
  if (value == align_) return;
  align_ = value;
  if (value == alClient) SetBounds(Left(), Top(), Width(), Height());
}

void TCustomTransitionView::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (align_ == alClient) {
    const Rect parent = host_.parent_client_rect();
    left = parent.left;
    top = parent.top;
    width = parent.width();
    height = parent.height();
  }
  const Rect next{left, top, left + std::max(width, 0), top + std::max(height, 0)};
  if (next == bounds_) return;
  const bool resized = next.width() != bounds_.width() || next.height() != bounds_.height();
  Invalidate();  // the area left behind
  bounds_ = next;
  Invalidate();
  if (resized) WMSize();
}

void TCustomTransitionView::handle_parent_resized(const Rect& /*parent_client*/) {
  if (align_ == alClient) SetBounds(Left(), Top(), Width(), Height());
}

void TCustomTransitionView::Invalidate() {
  if (!destroying_) host_.invalidate(bounds_);
}

void TCustomTransitionView::Repaint() {
  if (!destroying_) host_.repaint_now();
}

void TCustomTransitionView::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Invalidate();  // the parent repaints the area either way
}

void TCustomTransitionView::PictureChanged() {
  if (destroying_) return;
  if (picture_.has_graphic() && auto_size_) AdjustSizeToPicture();
  if (OnChange) OnChange(*this);
}

void TCustomTransitionView::BackgroundChanged() {
  if (bg_mode_ != bmNone && !painting_) Invalidate();
}

void TCustomTransitionView::AdjustSizeToPicture() {
  if (picture_.has_graphic() && align_ == alNone)
    SetBounds(Left(), Top(), picture_.width(), picture_.height());
}

void TCustomTransitionView::CMMouseEnter() {
  if (OnMouseEnter) OnMouseEnter(*this);
}

void TCustomTransitionView::CMMouseLeave() {
  if (OnMouseLeave) OnMouseLeave(*this);
}

void TCustomTransitionView::handle_mouse_down(const MouseInput& input) {
  if (OnMouseDown) OnMouseDown(*this, input.button, input.shift, input.x, input.y);
}

void TCustomTransitionView::handle_mouse_move(const MouseInput& input) {
  if (OnMouseMove) OnMouseMove(*this, input.shift, input.x, input.y);
}

void TCustomTransitionView::handle_mouse_up(const MouseInput& input) {
  if (OnMouseUp) OnMouseUp(*this, input.button, input.shift, input.x, input.y);
}

void TCustomTransitionView::Clear() {
  // The screen bitmap is in use while a frame is composed or painted; leave it then.
  if (busy_ || screen_.empty() || screen_locks_ > 0) return;
  screen_ = Bitmap24();
  Invalidate();
}

void TCustomTransitionView::Execute() {
  // A handler that runs while a frame is composed must not replace the bitmaps of that frame.
  // A graphic without pixels gives no transition either.
  const Graphic* graphic = picture_.graphic();
  if (busy_ || graphic == nullptr || graphic->empty() || screen_locks_ > 0) return;
  busy_ = true;
  const uint64_t id = ++transition_id_;
  const std::shared_ptr<bool> alive = alive_;
  try {
    PrepareTransition();
    if (!manual_) Animate();
  } catch (...) {
    // Only when the failed transition is still the current one: a handler may have stopped
    // it and started the next.
    if (*alive && transition_id_ == id) {
      busy_ = false;
      ReleaseImages();
    }
    throw;
  }
}

}  // namespace ss
