#include "platform/headless/headless_window.h"

#include <cstring>

#include "gfx/raster.h"
#include "platform/core/clipped_canvas.h"
#include "platform/headless/headless_flash.h"

namespace ss {
namespace {

bool contains(const Rect& r, Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

HeadlessWindow::HeadlessWindow(HeadlessContext& context, intptr_t handle)
    : context_(context), handle_(handle) {
  context_.log.add("window.create " + std::to_string(handle));
}

HeadlessWindow::~HeadlessWindow() {
  *alive_ = false;
  for (HeadlessFlashControl* child : children_) child->forget_parent();
  if (context_.app.main_window() == this) context_.app.set_main_window(nullptr);
  HeadlessContext::forget(context_.windows, this);
}

void HeadlessWindow::attach(HostedControl* control) {
  if (control_ == control) return;
  set_control_hovered(false);
  control_ = control;
  if (control_ != nullptr) schedule_paint();
}

void HeadlessWindow::invalidate(const Rect& parent_rect) {
  if (parent_rect.empty()) return;
  schedule_paint();
}

void HeadlessWindow::repaint_now() {
  paint();
}

void HeadlessWindow::set_bounds(const Rect& screen_rect) {
  context_.log.add("window.bounds " + format_rect(screen_rect));
  const bool resized =
      screen_rect.width() != bounds_.width() || screen_rect.height() != bounds_.height();
  bounds_ = screen_rect;
  background_dirty_ = true;
  if (resized && control_ != nullptr) control_->handle_parent_resized(parent_client_rect());
  schedule_paint();
}

void HeadlessWindow::set_color(Color color) {
  context_.log.add("window.color " + format_hex(static_cast<uint32_t>(color), 8));
  color_ = color;
  background_dirty_ = true;
  schedule_paint();
}

void HeadlessWindow::set_topmost() {
  context_.log.add("window.topmost");
  topmost_ = true;
}

void HeadlessWindow::show() {
  if (visible_ || closed_) return;
  context_.log.add("window.show");
  visible_ = true;
  background_dirty_ = true;
  // The form may close the window in either handler.
  const std::shared_ptr<bool> alive = alive_;
  if (events_ != nullptr) events_->handle_show();
  if (*alive && takes_input() && events_ != nullptr) events_->handle_activate();
  if (*alive) schedule_paint();
}

void HeadlessWindow::hide_application_window() {
  context_.log.add("window.hide_app");
  application_window_hidden_ = true;
}

void HeadlessWindow::post_user_message(uint32_t message) {
  std::weak_ptr<bool> alive = alive_;
  context_.app.post_guarded([this, alive, message] {
    if (const std::shared_ptr<bool> still = alive.lock(); still && *still) {
      deliver_user_message(message);
    }
  });
}

void HeadlessWindow::close() {
  if (closing_ || closed_) return;
  context_.log.add("window.close");
  closing_ = true;
  try {
    if (events_ != nullptr) events_->handle_close();
  } catch (...) {
    // A form whose close handler fails stays open, as the framework leaves it.
    closing_ = false;
    throw;
  }
  closing_ = false;
  closed_ = true;
  visible_ = false;
  set_control_hovered(false);
  if (context_.app.main_window() == this) context_.app.main_window_closed();
}

void HeadlessWindow::release_capture() {
  context_.log.add("capture.release");
  ++capture_releases_;
}

void HeadlessWindow::schedule_paint() {
  if (paint_pending_ || !takes_input()) return;
  paint_pending_ = true;
  std::weak_ptr<bool> alive = alive_;
  context_.app.post_guarded([this, alive] {
    if (const std::shared_ptr<bool> still = alive.lock(); still && *still && paint_pending_) {
      paint();
    }
  });
}

void HeadlessWindow::paint() {
  paint_pending_ = false;
  if (!takes_input()) return;
  Bitmap24& screen = context_.screen();
  const Rect window_area = bounds_.intersect(screen.bounds());
  if (background_dirty_) {
    fill(screen, window_area, resolve_color(color_));
    background_dirty_ = false;
  }
  if (control_ != nullptr) {
    const Rect area = control_->bounds_in_parent().offset(bounds_.left, bounds_.top);
    ClippedCanvas canvas(screen, area, area.intersect(window_area));
    control_->handle_paint(canvas);
  }
  ++paint_count_;
  ++context_.frames_presented;
  if (context_.on_frame_presented) context_.on_frame_presented(screen);
}

bool HeadlessWindow::covered_by_child(Point client) const {
  for (const HeadlessFlashControl* child : children_) {
    if (child->visible() && contains(child->bounds(), client)) return true;
  }
  return false;
}

bool HeadlessWindow::any_child_visible() const {
  for (const HeadlessFlashControl* child : children_) {
    if (child->visible()) return true;
  }
  return false;
}

void HeadlessWindow::set_control_hovered(bool hovered) {
  if (hovered == control_hovered_) return;
  control_hovered_ = hovered;
  if (control_ == nullptr) return;
  if (hovered)
    control_->handle_mouse_enter();
  else
    control_->handle_mouse_leave();
}

void HeadlessWindow::deliver_key_down(uint32_t key, uint32_t shift) {
  // A visible movie control has the keyboard focus.
  if (!takes_input() || any_child_visible() || events_ == nullptr) return;
  events_->handle_key_down(key, shift);
}

void HeadlessWindow::deliver_mouse_move(Point screen, uint32_t shift) {
  if (!takes_input()) return;
  const Point client{screen.x - bounds_.left, screen.y - bounds_.top};
  const bool inside = contains(parent_client_rect(), client) && !covered_by_child(client);
  const Rect control_area = control_ != nullptr ? control_->bounds_in_parent() : Rect{};
  const bool over_control = inside && contains(control_area, client);
  set_control_hovered(over_control);
  if (!inside) return;
  // The control reports a move over it itself; the form sees the rest of its client area.
  if (over_control) {
    control_->handle_mouse_move(
        {MouseButton::kLeft, shift, client.x - control_area.left, client.y - control_area.top});
  } else if (events_ != nullptr) {
    events_->handle_mouse_move(shift, client.x, client.y);
  }
}

void HeadlessWindow::deliver_mouse_button(bool down, MouseButton button, Point screen,
                                          uint32_t shift) {
  if (!takes_input() || control_ == nullptr) return;
  const Point client{screen.x - bounds_.left, screen.y - bounds_.top};
  if (!contains(parent_client_rect(), client) || covered_by_child(client)) return;
  const Rect control_area = control_->bounds_in_parent();
  if (!contains(control_area, client)) return;
  const MouseInput input{button, shift, client.x - control_area.left, client.y - control_area.top};
  if (down)
    control_->handle_mouse_down(input);
  else
    control_->handle_mouse_up(input);
}

void HeadlessWindow::deliver_user_message(uint32_t message) {
  if (closed_ || events_ == nullptr) return;
  events_->handle_user_message(message);
}

void HeadlessWindow::deliver_activate() {
  if (takes_input() && events_ != nullptr) events_->handle_activate();
}

}  // namespace ss
