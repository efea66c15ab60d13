#pragma once
// The show form's window: a borderless popup without a taskbar button. Its client area is kept
// in a back buffer of ours; a paint fills the invalidated part with the form's colour where the
// hosted control does not cover it, lets the control copy its picture in, and presents only the
// invalidated part with SetDIBitsToDevice.
//
// Keyboard input goes to the form; the pointer goes to the control over its area and to the
// form elsewhere; buttons go to the control. The private messages 0x0401 and 0x0402 reach the
// form's handle_user_message; WM_CLOSE closes the window. The system's close command (Alt+F4)
// and screen-saver command are ignored: only the form's own exit rules end the show.
//
// close() runs the form's handle_close, hides the window and, for the main window, ends the
// application's loop; the system window itself lives until this object is destroyed, so that
// the controls placed on it can still let go of it.
#include <windows.h>

#include <cstdint>

#include "gfx/bitmap24.h"
#include "platform/show_window.h"

namespace ss {

class Win32Application;

class Win32ShowWindow final : public ShowWindow {
 public:
  explicit Win32ShowWindow(Win32Application& application);
  ~Win32ShowWindow() override;
  Win32ShowWindow(const Win32ShowWindow&) = delete;
  Win32ShowWindow& operator=(const Win32ShowWindow&) = delete;

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
  void hide_application_window() override {}  // no window of ours has a taskbar button
  void post_user_message(uint32_t message) override;
  void close() override;
  void release_capture() override;
  intptr_t native_handle() const override { return reinterpret_cast<intptr_t>(window_); }

 private:
  static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // Runs the handler of one message; false when the system's default handling should run.
  bool handle_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

  void on_paint();
  void on_activate(WPARAM wparam);
  void on_key_down(WPARAM key);
  void on_mouse_move(WPARAM keys, LPARAM position);
  void on_mouse_leave();
  void on_mouse_button(bool down, MouseButton button, WPARAM keys, LPARAM position);
  void on_user_message(UINT message);
  bool on_system_command(WPARAM command);
  void on_destroyed();

  void paint_area(const Rect& area);
  void present(HDC dc, const Rect& area);
  void set_control_hovered(bool hovered);
  bool over_control(Point client) const;

  Win32Application& application_;
  HWND window_ = nullptr;
  FormEvents* events_ = nullptr;
  HostedControl* control_ = nullptr;
  Bitmap24 surface_;  // the client area as last painted
  Rect bounds_;
  Color color_ = static_cast<Color>(0xFF00000Fu);  // the system's face colour
  bool visible_ = false;
  bool closing_ = false;
  bool closed_ = false;
  bool showing_ = false;  // show() runs the form's activation itself
  bool control_hovered_ = false;
};

}  // namespace ss
