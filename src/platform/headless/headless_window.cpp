#include "platform/headless/headless_window.h"

#include "platform/headless/headless_flash.h"

namespace ss {

HeadlessWindow::HeadlessWindow(HeadlessContext& context, intptr_t handle, Role role)
    : FormWindow(static_cast<NativeSurface&>(*this)),
      context_(context),
      handle_(handle),
      role_(role) {
  context_.log.add(kind() + ".create " + std::to_string(handle));
}

HeadlessWindow::~HeadlessWindow() {
  for (HeadlessFlashControl* child : children_) child->forget_parent();
  if (context_.app.main_window() == this) context_.app.set_main_window(nullptr);
  HeadlessContext::forget(context_.windows, this);
  HeadlessContext::forget(context_.covers, this);
}

void HeadlessWindow::place(const Rect& screen_rect) {
  if (cover() &&
      (screen_rect.width() != own_image_.width() || screen_rect.height() != own_image_.height()))
    own_image_.resize(screen_rect.width(), screen_rect.height());
}

void HeadlessWindow::set_bounds(const Rect& screen_rect) {
  context_.log.add(kind() + ".bounds " + format_rect(screen_rect));
  FormWindow::set_bounds(screen_rect);
}

void HeadlessWindow::set_color(Color color) {
  context_.log.add(kind() + ".color " + format_hex(static_cast<uint32_t>(color), 8));
  FormWindow::set_color(color);
}

void HeadlessWindow::show() {
  if (!visible() && !closed()) context_.log.add(kind() + ".show");
  FormWindow::show();
}

void HeadlessWindow::hide_application_window() {
  context_.log.add("window.hide_app");
  application_window_hidden_ = true;
}

void HeadlessWindow::close() {
  if (!closing() && !closed()) context_.log.add(kind() + ".close");
  FormWindow::close();
}

void HeadlessWindow::window_closed() {
  context_.app.window_closed(this);
}

void HeadlessWindow::raise_topmost() {
  context_.log.add(kind() + ".topmost");
  topmost_ = true;
}

void HeadlessWindow::release_mouse_capture() {
  context_.log.add("capture.release");
  ++capture_releases_;
}

void HeadlessWindow::present(const Rect& /*changed*/) {
  ++paint_count_;
  if (cover()) return;  // the primary screen is what the hook is shown
  ++context_.frames_presented;
  if (context_.on_frame_presented) context_.on_frame_presented(context_.screen());
}

void HeadlessWindow::add_child(HeadlessFlashControl* child) {
  children_.push_back(child);
  add_covering_child(child);
}

void HeadlessWindow::remove_child(HeadlessFlashControl* child) {
  HeadlessContext::forget(children_, child);
  remove_covering_child(child);
}

}  // namespace ss
