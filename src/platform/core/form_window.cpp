#include "platform/core/form_window.h"

#include "gfx/raster.h"
#include "platform/core/clipped_canvas.h"

namespace ss {
namespace {

bool covers(const Rect& outer, const Rect& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

}  // namespace

FormWindow::FormWindow(NativeSurface& surface) : surface_(surface) {}

FormWindow::~FormWindow() {
  *alive_ = false;
}

void FormWindow::post_while_alive(NativeSurface::Task task) {
  std::weak_ptr<bool> alive = alive_;
  surface_.post([alive, task = std::move(task)] {
    if (const std::shared_ptr<bool> still = alive.lock(); still && *still) task();
  });
}

void FormWindow::attach(HostedControl* control) {
  if (control_ == control) return;
  set_control_hovered(false);
  control_ = control;
  if (control_ != nullptr) request_paint(control_->bounds_in_parent());
}

void FormWindow::invalidate(const Rect& parent_rect) {
  if (parent_rect.empty()) return;
  request_paint(parent_rect);
}

void FormWindow::repaint_now() {
  if (surface_.system_paints())
    surface_.update_system();
  else
    paint_batch();
}

void FormWindow::request_paint(const Rect& area) {
  if (!surface_.system_paints()) {
    schedule_paint();
  } else if (!area.empty()) {
    surface_.invalidate_system(area);
  }
}

void FormWindow::set_bounds(const Rect& screen_rect) {
  const bool resized =
      screen_rect.width() != bounds_.width() || screen_rect.height() != bounds_.height();
  bounds_ = screen_rect;
  surface_.place(screen_rect);
  background_dirty_ = true;
  if (resized && control_ != nullptr) control_->handle_parent_resized(parent_client_rect());
  request_paint(parent_client_rect());
}

void FormWindow::set_color(Color color) {
  color_ = color;
  background_dirty_ = true;
  request_paint(parent_client_rect());
}

void FormWindow::show() {
  if (visible_ || closed_) return;
  surface_.show_native(NativeSurface::ShowStage::kBeforeShowHandler);
  visible_ = true;
  background_dirty_ = true;
  // The form may close the window, or destroy it, in either handler.
  const std::shared_ptr<bool> alive = alive_;
  if (events_ != nullptr) events_->handle_show();
  if (!*alive || !takes_input()) return;
  // The activation the system reports while the window appears is the form's first one, run
  // below once the window is up.
  showing_ = true;
  surface_.show_native(NativeSurface::ShowStage::kBeforeActivation);
  showing_ = false;
  if (takes_input() && events_ != nullptr) events_->handle_activate();
  if (!*alive || !takes_input()) return;
  surface_.show_native(NativeSurface::ShowStage::kAfterActivation);
  request_paint(parent_client_rect());
}

void FormWindow::post_user_message(uint32_t message) {
  if (surface_.post_system_message(message)) return;
  post_while_alive([this, message] { user_message(message); });
}

void FormWindow::close() {
  if (closing_ || closed_) return;
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
  surface_.window_closed();
}

void FormWindow::destroyed() {
  if (closed_) return;
  closed_ = true;
  visible_ = false;
  surface_.window_closed();
}

void FormWindow::schedule_paint() {
  if (paint_pending_ || !takes_input()) return;
  paint_pending_ = true;
  post_while_alive([this] {
    if (paint_pending_) paint_batch();
  });
}

void FormWindow::paint_batch() {
  paint_pending_ = false;
  if (!takes_input()) return;
  // Between changes of the background, only the control's area changes.
  const Rect client = parent_client_rect();
  Rect area;
  if (background_dirty_)
    area = client;
  else if (control_ != nullptr)
    area = control_->bounds_in_parent().intersect(client);
  paint_area(area);
}

void FormWindow::paint_area(const Rect& area) {
  Bitmap24& image = surface_.client_image();
  if (image.empty()) return;
  const Point origin = surface_.client_origin();
  const Rect control_area = control_ != nullptr ? control_->bounds_in_parent() : Rect{};
  if (background_dirty_ || !covers(control_area, area))
    fill(image, area.offset(origin.x, origin.y).intersect(image.bounds()), resolve_color(color_));
  if (covers(area, parent_client_rect())) background_dirty_ = false;
  if (control_ != nullptr) {
    ClippedCanvas canvas(image, control_area.offset(origin.x, origin.y),
                         control_area.intersect(area).offset(origin.x, origin.y));
    control_->handle_paint(canvas);
  }
  surface_.present(area);
}

bool FormWindow::covered_by_child(Point client) const {
  for (const CoveringChild* child : children_) {
    if (child->visible() && child->bounds().contains(client)) return true;
  }
  return false;
}

bool FormWindow::any_child_visible() const {
  for (const CoveringChild* child : children_) {
    if (child->visible()) return true;
  }
  return false;
}

void FormWindow::set_control_hovered(bool hovered) {
  if (hovered == control_hovered_) return;
  control_hovered_ = hovered;
  if (hovered) surface_.track_leave();
  if (control_ == nullptr) return;
  if (hovered)
    control_->handle_mouse_enter();
  else
    control_->handle_mouse_leave();
}

void FormWindow::key_down(uint32_t key, uint32_t shift) {
  // A visible movie control has the keyboard focus.
  if (!takes_input() || any_child_visible() || events_ == nullptr) return;
  events_->handle_key_down(key, shift);
}

void FormWindow::mouse_move(Point client, uint32_t shift) {
  if (!takes_input()) return;
  const bool inside = parent_client_rect().contains(client) && !covered_by_child(client);
  const Rect control_area = control_ != nullptr ? control_->bounds_in_parent() : Rect{};
  const bool over_control = inside && control_area.contains(client);
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

void FormWindow::mouse_button(bool down, MouseButton button, Point client, uint32_t shift) {
  if (!takes_input()) return;
  if (!parent_client_rect().contains(client) || covered_by_child(client)) return;
  if (control_ == nullptr || !control_->bounds_in_parent().contains(client)) {
    if (down && events_ != nullptr) events_->handle_mouse_down(button, shift, client.x, client.y);
    return;
  }
  const Rect control_area = control_->bounds_in_parent();
  const MouseInput input{button, shift, client.x - control_area.left, client.y - control_area.top};
  if (down)
    control_->handle_mouse_down(input);
  else
    control_->handle_mouse_up(input);
}

void FormWindow::activated() {
  if (showing_ || !takes_input() || events_ == nullptr) return;
  events_->handle_activate();
}

void FormWindow::user_message(uint32_t message) {
  if (closed_ || events_ == nullptr) return;
  events_->handle_user_message(message);
}

}  // namespace ss
