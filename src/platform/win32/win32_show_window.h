#pragma once
// The show form's window: a borderless popup without a taskbar button, over the shared form
// window. Its client area is kept in a back buffer of ours; the system keeps the invalid area,
// and its paint message paints that part and presents it with SetDIBitsToDevice.
//
// The private messages 0x0401 and 0x0402 travel through the system's queue to the form's
// handle_user_message; WM_CLOSE closes the window. The system's close command (Alt+F4) and
// screen-saver command are ignored: only the form's own exit rules end the show.
//
// close() runs the form's handle_close, hides the window and, for the main window, ends the
// application's loop; the system window itself lives until this object is destroyed, so that
// the controls placed on it can still let go of it.
//
// A cover window (over a monitor the show does not take) is shown and raised without taking
// the activation, and a click on it leaves the activation where it is.
#include <windows.h>

#include <cstdint>

#include "gfx/bitmap24.h"
#include "platform/core/form_window.h"

namespace ss {

class Win32Application;

class Win32ShowWindow final : private NativeSurface, public FormWindow {
 public:
  enum class Role : uint8_t { kShow, kCover };
  explicit Win32ShowWindow(Win32Application& application, Role role = Role::kShow);
  ~Win32ShowWindow() override;
  Win32ShowWindow(const Win32ShowWindow&) = delete;
  Win32ShowWindow& operator=(const Win32ShowWindow&) = delete;

  void show() override;

 private:
  // NativeSurface.
  Bitmap24& client_image() override { return image_; }
  void present(const Rect& changed) override;
  void place(const Rect& screen_rect) override;
  void show_native(ShowStage stage) override;
  void window_closed() override;
  void raise_topmost() override;
  void release_mouse_capture() override { ReleaseCapture(); }
  void track_leave() override;
  intptr_t window_handle() const override { return reinterpret_cast<intptr_t>(window_); }
  void post(Task task) override;
  bool post_system_message(uint32_t message) override;
  bool system_paints() const override { return true; }
  void invalidate_system(const Rect& client_area) override;
  void update_system() override;

  static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // Runs the handler of one message; false when the system's default handling should run.
  bool handle_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  void on_paint();
  bool on_system_command(WPARAM command);

  Win32Application& application_;
  Role role_;
  HWND window_ = nullptr;
  Bitmap24 image_;          // the client area as last painted
  HDC paint_dc_ = nullptr;  // during a paint message
};

}  // namespace ss
