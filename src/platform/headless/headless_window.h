#pragma once
// A top-level window over the headless screen. It records what the form asks of it, paints its
// colour and its control into the shared screen image at its bounds while visible, and hands
// scripted input to the form or the control the way the system would route it.
//
// Painting: repaint_now paints at once; invalidate posts one paint message (several
// invalidations before it runs share it). A hidden or closed window paints nothing. Each paint
// ends by presenting the screen (the platform's frame-presented hook).
//
// show() on a hidden window runs the form's handle_show, then handle_activate, then paints.
// close() runs handle_close and ends the application's run when this is the main window.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/headless/headless_context.h"
#include "platform/show_window.h"

namespace ss {

class HeadlessWindow final : public ShowWindow {
 public:
  HeadlessWindow(HeadlessContext& context, intptr_t handle);
  ~HeadlessWindow() override;
  HeadlessWindow(const HeadlessWindow&) = delete;
  HeadlessWindow& operator=(const HeadlessWindow&) = delete;

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
  void hide_application_window() override;
  void post_user_message(uint32_t message) override;
  void close() override;
  void release_capture() override;
  intptr_t native_handle() const override { return handle_; }

  // The test's side.
  bool closed() const { return closed_; }
  bool topmost() const { return topmost_; }
  Color color() const { return color_; }
  bool application_window_hidden() const { return application_window_hidden_; }
  int capture_releases() const { return capture_releases_; }
  int paint_count() const { return paint_count_; }
  bool paint_pending() const { return paint_pending_; }
  HostedControl* control() const { return control_; }

  // Input routed here by the platform. Positions are on the screen.
  void deliver_key_down(uint32_t key, uint32_t shift);
  void deliver_mouse_move(Point screen, uint32_t shift);
  void deliver_mouse_button(bool down, MouseButton button, Point screen, uint32_t shift);
  void deliver_user_message(uint32_t message);
  void deliver_activate();

  // Movie controls placed on this window take the input over their area, and the keyboard.
  void add_child(HeadlessFlashControl* child) { children_.push_back(child); }
  void remove_child(HeadlessFlashControl* child) { HeadlessContext::forget(children_, child); }

 private:
  bool takes_input() const { return visible_ && !closed_; }
  bool covered_by_child(Point client) const;
  bool any_child_visible() const;
  void set_control_hovered(bool hovered);
  void schedule_paint();
  void paint();

  HeadlessContext& context_;
  intptr_t handle_;
  FormEvents* events_ = nullptr;
  HostedControl* control_ = nullptr;
  std::vector<HeadlessFlashControl*> children_;
  Rect bounds_;
  Color color_ = static_cast<Color>(0xFF00000Fu);  // the system's face colour
  bool visible_ = false;
  bool closing_ = false;
  bool closed_ = false;
  bool topmost_ = false;
  bool application_window_hidden_ = false;
  bool background_dirty_ = true;
  bool paint_pending_ = false;
  bool control_hovered_ = false;
  int capture_releases_ = 0;
  int paint_count_ = 0;
  // Messages still queued for this window check it before they touch the window.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ss
