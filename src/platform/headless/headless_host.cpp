#include "platform/headless/headless_host.h"

#include "gfx/raster.h"
#include "platform/core/clipped_canvas.h"

namespace ss {
namespace {}  // namespace

HeadlessHost::HeadlessHost(int32_t parent_width, int32_t parent_height)
    : surface_(parent_width, parent_height) {}

void HeadlessHost::invalidate(const Rect& parent_rect) {
  if (parent_rect.empty()) return;
  invalidated_.push_back(parent_rect);
  pending_.push_back(parent_rect);
}

void HeadlessHost::repaint_now() {
  pending_.clear();
  paint_control();
}

void HeadlessHost::flush_paint() {
  if (pending_.empty()) return;
  pending_.clear();
  paint_control();
}

void HeadlessHost::paint_control() {
  if (control_ == nullptr) return;
  ++paint_count_;
  ClippedCanvas canvas(surface_, control_->bounds_in_parent());
  control_->handle_paint(canvas);
}

void HeadlessHost::resize_parent(int32_t width, int32_t height) {
  surface_.resize(width, height);
  if (control_ != nullptr) control_->handle_parent_resized(surface_.bounds());
}

void HeadlessHost::mouse_enter() {
  if (control_ != nullptr) control_->handle_mouse_enter();
}

void HeadlessHost::mouse_leave() {
  if (control_ != nullptr) control_->handle_mouse_leave();
}

void HeadlessHost::mouse_down(const MouseInput& input) {
  if (control_ != nullptr) control_->handle_mouse_down(input);
}

void HeadlessHost::mouse_move(const MouseInput& input) {
  if (control_ != nullptr) control_->handle_mouse_move(input);
}

void HeadlessHost::mouse_up(const MouseInput& input) {
  if (control_ != nullptr) control_->handle_mouse_up(input);
}

}  // namespace ss
