#include "platform/headless/headless_setup_view.h"

namespace ss {
namespace {

size_t slot_of(SetupControl control) {
  return static_cast<size_t>(control);
}

}  // namespace

HeadlessSetupView::HeadlessSetupView(Application& application, intptr_t handle)
    : application_(application), handle_(handle) {}

HeadlessSetupView::~HeadlessSetupView() {
  if (on_destroy_) on_destroy_();
}

void HeadlessSetupView::set_caption(SetupControl control, const std::string& caption) {
  captions_.at(slot_of(control)) = caption;
}

std::string HeadlessSetupView::caption(SetupControl control) const {
  return captions_.at(slot_of(control));
}

void HeadlessSetupView::show() {
  if (visible_ || closed_) return;
  visible_ = true;
  ++show_count_;
  if (events_ != nullptr) events_->handle_show();
}

void HeadlessSetupView::close() {
  if (closed_) return;
  closed_ = true;
  visible_ = false;
  application_.terminate();
}

bool HeadlessSetupView::click_mute() {
  if (!takes_input()) return false;
  checked_ = !checked_;
  events_->handle_mute_click();
  return true;
}

bool HeadlessSetupView::press_ok() {
  if (!takes_input()) return false;
  events_->handle_ok_click();
  return true;
}

bool HeadlessSetupView::label_takes_input(SetupControl label) const {
  const bool address = label == SetupControl::lblEmail || label == SetupControl::lblWeb;
  return takes_input() && address && !caption(label).empty();
}

bool HeadlessSetupView::point_at_label(SetupControl label) {
  if (!label_takes_input(label)) return false;
  events_->handle_label_enter(label);
  return true;
}

bool HeadlessSetupView::leave_label(SetupControl label) {
  if (!label_takes_input(label)) return false;
  events_->handle_label_leave(label);
  return true;
}

bool HeadlessSetupView::click_label(SetupControl label) {
  if (!label_takes_input(label)) return false;
  events_->handle_label_click(label);
  return true;
}

}  // namespace ss
