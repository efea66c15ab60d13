#pragma once
// A form and a control that write what reaches them into one event list, with the virtual time.
#include <functional>
#include <string>
#include <vector>

#include "gfx/bitmap24.h"
#include "platform/control_host.h"
#include "platform/headless/headless_platform.h"
#include "platform/show_window.h"

namespace ss::headless_test {

struct Events {
  explicit Events(HeadlessPlatform& p) : platform(p) {}
  void add(const std::string& what) {
    list.push_back(what);
    timed.push_back(std::to_string(platform.now_ms()) + " " + what);
  }
  HeadlessPlatform& platform;
  std::vector<std::string> list;
  std::vector<std::string> timed;  // "<ms> <event>"
};

class RecordingForm final : public FormEvents {
 public:
  explicit RecordingForm(Events& events) : events_(events) {}
  void handle_show() override { events_.add("show"); }
  void handle_activate() override {
    events_.add("activate");
    if (on_activate) on_activate();
  }
  void handle_key_down(uint32_t key, uint32_t) override {
    events_.add("key " + std::to_string(key));
  }
  void handle_mouse_move(uint32_t, int32_t x, int32_t y) override {
    events_.add("form.move " + std::to_string(x) + "," + std::to_string(y));
  }
  void handle_user_message(uint32_t message) override {
    events_.add("message " + std::to_string(message));
    if (on_message) on_message(message);
  }
  void handle_close() override { events_.add("close"); }

  std::function<void()> on_activate;
  std::function<void(uint32_t)> on_message;

 private:
  Events& events_;
};

// Paints itself in one colour over `area` of its parent.
class RecordingControl final : public HostedControl {
 public:
  RecordingControl(Events& events, Rect area, Color color)
      : events_(events), area_(area), image_(area.width(), area.height()) {
    for (int32_t y = 0; y < image_.height(); ++y)
      for (int32_t x = 0; x < image_.width(); ++x) image_.set_pixel(x, y, color);
  }
  Rect bounds_in_parent() const override { return area_; }
  void handle_paint(ControlCanvas& canvas) override {
    ++paints;
    canvas.copy_from(image_);
  }
  void handle_parent_resized(const Rect& r) override {
    events_.add("resized " + std::to_string(r.width()) + "x" + std::to_string(r.height()));
  }
  void handle_mouse_enter() override { events_.add("enter"); }
  void handle_mouse_leave() override { events_.add("leave"); }
  void handle_mouse_down(const MouseInput& in) override {
    events_.add("control.down " + std::to_string(in.x) + "," + std::to_string(in.y));
  }
  void handle_mouse_move(const MouseInput& in) override {
    events_.add("control.move " + std::to_string(in.x) + "," + std::to_string(in.y));
  }
  void handle_mouse_up(const MouseInput& in) override {
    events_.add("control.up " + std::to_string(in.x) + "," + std::to_string(in.y));
  }
  int paints = 0;

 private:
  Events& events_;
  Rect area_;
  Bitmap24 image_;
};

}  // namespace ss::headless_test
