#pragma once
// A top-level window over the headless screen: the shared form window over a surface that
// records what the form asks of it, paints into the shared screen image at the window's
// bounds, and ends each paint by presenting the screen (the platform's frame-presented hook).
// Scripted input arrives in screen coordinates and is routed like the system's. A cover window
// (over another monitor) paints into an image of its own instead.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/form_window.h"
#include "platform/headless/headless_context.h"

namespace ss {

class HeadlessWindow final : private NativeSurface, public FormWindow {
 public:
  enum class Role : uint8_t { kForm, kCover };
  HeadlessWindow(HeadlessContext& context, intptr_t handle, Role role = Role::kForm);
  ~HeadlessWindow() override;
  HeadlessWindow(const HeadlessWindow&) = delete;
  HeadlessWindow& operator=(const HeadlessWindow&) = delete;

  // ShowWindow, logged.
  void set_bounds(const Rect& screen_rect) override;
  void set_color(Color color) override;
  void show() override;
  void hide_application_window() override;
  void close() override;

  // The test's side.
  bool topmost() const { return topmost_; }
  bool application_window_hidden() const { return application_window_hidden_; }
  int capture_releases() const { return capture_releases_; }
  int paint_count() const { return paint_count_; }
  bool cover() const { return role_ == Role::kCover; }
  // What a cover window shows.
  const Bitmap24& own_image() const { return own_image_; }

  // Input routed here by the platform. Positions are on the screen.
  void deliver_key_down(uint32_t key, uint32_t shift) { key_down(key, shift); }
  void deliver_mouse_move(Point screen, uint32_t shift) { mouse_move(to_client(screen), shift); }
  void deliver_mouse_button(bool down, MouseButton button, Point screen, uint32_t shift) {
    mouse_button(down, button, to_client(screen), shift);
  }
  void deliver_user_message(uint32_t message) { user_message(message); }
  void deliver_activate() { activated(); }

  // Movie controls placed on this window take the input over their area, and the keyboard.
  void add_child(HeadlessFlashControl* child);
  void remove_child(HeadlessFlashControl* child);

 private:
  // NativeSurface.
  Bitmap24& client_image() override { return cover() ? own_image_ : context_.screen(); }
  Point client_origin() const override {
    return cover() ? Point{0, 0} : Point{bounds().left, bounds().top};
  }
  void present(const Rect& changed) override;
  void place(const Rect& screen_rect) override;
  void show_native(ShowStage /*stage*/) override {}
  void window_closed() override;
  void raise_topmost() override;
  void release_mouse_capture() override;
  intptr_t window_handle() const override { return handle_; }
  void post(Task task) override { context_.app.post_guarded(std::move(task)); }

  // What the log calls this window.
  std::string kind() const { return cover() ? "cover" : "window"; }
  Point to_client(Point screen) const {
    return {screen.x - bounds().left, screen.y - bounds().top};
  }

  HeadlessContext& context_;
  intptr_t handle_;
  Role role_;
  Bitmap24 own_image_;
  std::vector<HeadlessFlashControl*> children_;
  bool topmost_ = false;
  bool application_window_hidden_ = false;
  int capture_releases_ = 0;
  int paint_count_ = 0;
};

}  // namespace ss
