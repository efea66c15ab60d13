#include "platform/win32/win32_show_window.h"

#include <windowsx.h>

#include <cstring>

#include "gfx/raster.h"
#include "platform/core/clipped_canvas.h"
#include "platform/win32/dib_surface.h"
#include "platform/win32/win32_application.h"

namespace ss {
namespace {

constexpr const char* kShowWindowClass = "SlidesaverShowWindow";

// The modifier bits handed to the form and the control: shift, alt, ctrl, then the left,
// right and middle buttons, as the framework numbers them.
constexpr uint32_t kShiftBit = 1u << 0;
constexpr uint32_t kAltBit = 1u << 1;
constexpr uint32_t kCtrlBit = 1u << 2;
constexpr uint32_t kLeftBit = 1u << 3;
constexpr uint32_t kRightBit = 1u << 4;
constexpr uint32_t kMiddleBit = 1u << 5;

bool key_is_down(int key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

uint32_t keyboard_shift_state() {
  uint32_t shift = 0;
  if (key_is_down(VK_SHIFT)) shift |= kShiftBit;
  if (key_is_down(VK_MENU)) shift |= kAltBit;
  if (key_is_down(VK_CONTROL)) shift |= kCtrlBit;
  return shift;
}

uint32_t mouse_shift_state(WPARAM keys) {
  uint32_t shift = 0;
  if (keys & MK_SHIFT) shift |= kShiftBit;
  if (key_is_down(VK_MENU)) shift |= kAltBit;
  if (keys & MK_CONTROL) shift |= kCtrlBit;
  if (keys & MK_LBUTTON) shift |= kLeftBit;
  if (keys & MK_RBUTTON) shift |= kRightBit;
  if (keys & MK_MBUTTON) shift |= kMiddleBit;
  return shift;
}

Point client_point(LPARAM position) {
  return {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
}

bool contains(const Rect& r, Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

bool covers(const Rect& outer, const Rect& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// BeginPaint and EndPaint around one WM_PAINT, also when the paint fails half-way.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }
  Rect area() const {
    return {paint_.rcPaint.left, paint_.rcPaint.top, paint_.rcPaint.right, paint_.rcPaint.bottom};
  }

 private:
  HWND window_;
  PAINTSTRUCT paint_ = {};
  HDC dc_ = nullptr;
};

void register_show_window_class(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.lpszClassName = kShowWindowClass;
  RegisterClassExA(&window_class);  // a second window finds the class already there
}

}  // namespace

Win32ShowWindow::Win32ShowWindow(Win32Application& application) : application_(application) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  register_show_window_class(instance, &Win32ShowWindow::window_proc);
  // A tool window has no taskbar button, like the framework's forms under their hidden
  // application window.
  window_ =
      CreateWindowExA(WS_EX_TOOLWINDOW, kShowWindowClass, application.title().c_str(),
                      WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, nullptr, nullptr, instance, this);
}

Win32ShowWindow::~Win32ShowWindow() {
  if (window_ != nullptr) {
    const HWND window = window_;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    window_ = nullptr;
    DestroyWindow(window);
  }
  if (application_.main_window() == this) application_.set_main_window(nullptr);
}

LRESULT CALLBACK Win32ShowWindow::window_proc(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32ShowWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wparam, lparam);
  LRESULT result = 0;
  bool handled = false;
  self->application_.guarded(
      [&] { handled = self->handle_message(message, wparam, lparam, result); });
  return handled ? result : DefWindowProcA(window, message, wparam, lparam);
}

bool Win32ShowWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_PAINT:
      on_paint();
      return true;
    case WM_ERASEBKGND:
      result = 1;  // every paint covers its whole area
      return true;
    case WM_ACTIVATE:
      on_activate(wparam);
      return false;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      on_key_down(wparam);
      return true;
    case WM_MOUSEMOVE:
      on_mouse_move(wparam, lparam);
      return true;
    case WM_MOUSELEAVE:
      on_mouse_leave();
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      on_mouse_button(message == WM_LBUTTONDOWN, MouseButton::kLeft, wparam, lparam);
      return true;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      on_mouse_button(message == WM_RBUTTONDOWN, MouseButton::kRight, wparam, lparam);
      return true;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      on_mouse_button(message == WM_MBUTTONDOWN, MouseButton::kMiddle, wparam, lparam);
      return true;
    case WM_SYSCOMMAND:
      return on_system_command(wparam);
    case WM_CLOSE:
      close();
      return true;
    case WM_NCDESTROY:
      on_destroyed();
      return false;
    default:
      if (message >= WM_USER && message <= 0x7FFF) {
        on_user_message(message);
        return true;
      }
      return false;
  }
}

void Win32ShowWindow::attach(HostedControl* control) {
  if (control_ == control) return;
  set_control_hovered(false);
  control_ = control;
  if (control_ != nullptr) invalidate(control_->bounds_in_parent());
}

void Win32ShowWindow::invalidate(const Rect& parent_rect) {
  if (parent_rect.empty() || window_ == nullptr) return;
  const RECT r = {parent_rect.left, parent_rect.top, parent_rect.right, parent_rect.bottom};
  InvalidateRect(window_, &r, FALSE);
}

void Win32ShowWindow::repaint_now() {
  if (window_ != nullptr) UpdateWindow(window_);
}

void Win32ShowWindow::set_bounds(const Rect& screen_rect) {
  const bool resized =
      screen_rect.width() != bounds_.width() || screen_rect.height() != bounds_.height();
  bounds_ = screen_rect;
  if (window_ != nullptr) {
    SetWindowPos(window_, nullptr, screen_rect.left, screen_rect.top, screen_rect.width(),
                 screen_rect.height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (!resized) return;
  surface_.resize(screen_rect.width(), screen_rect.height());
  invalidate(parent_client_rect());
  if (control_ != nullptr) control_->handle_parent_resized(parent_client_rect());
}

void Win32ShowWindow::set_color(Color color) {
  color_ = color;
  invalidate(parent_client_rect());
}

void Win32ShowWindow::set_topmost() {
  if (window_ != nullptr) SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void Win32ShowWindow::show() {
  if (visible_ || closed_ || window_ == nullptr) return;
  visible_ = true;
  if (events_ != nullptr) events_->handle_show();
  if (closed_ || window_ == nullptr) return;
  // The activation the system reports while the window appears is the form's first one, run
  // below once the window is up.
  showing_ = true;
  ::ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  showing_ = false;
  if (!closed_ && events_ != nullptr) events_->handle_activate();
}

void Win32ShowWindow::post_user_message(uint32_t message) {
  if (window_ != nullptr) PostMessageA(window_, message, 0, 0);
}

void Win32ShowWindow::close() {
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
  if (window_ != nullptr) ::ShowWindow(window_, SW_HIDE);
  application_.window_closed(this);
}

void Win32ShowWindow::release_capture() {
  ReleaseCapture();
}

void Win32ShowWindow::on_paint() {
  const PaintScope paint(window_);
  const Rect area = paint.area().intersect(surface_.bounds());
  if (area.empty() || paint.dc() == nullptr) return;
  paint_area(area);
  present(paint.dc(), area);
}

void Win32ShowWindow::paint_area(const Rect& area) {
  const Rect control_area = control_ != nullptr ? control_->bounds_in_parent() : Rect{};
  if (!covers(control_area, area)) fill(surface_, area, resolve_color(color_));
  if (control_ == nullptr) return;
  ClippedCanvas canvas(surface_, control_area, control_area.intersect(area));
  control_->handle_paint(canvas);
}

void Win32ShowWindow::present(HDC dc, const Rect& area) {
  // The rows of the area, seen as a top-down bitmap of the surface's width.
  const BITMAPINFO header = top_down_dib_header(surface_.width(), area.height());
  SetDIBitsToDevice(dc, area.left, area.top, static_cast<DWORD>(area.width()),
                    static_cast<DWORD>(area.height()), area.left, 0, 0,
                    static_cast<UINT>(area.height()), surface_.row(area.top), &header,
                    DIB_RGB_COLORS);
}

void Win32ShowWindow::on_activate(WPARAM wparam) {
  if (LOWORD(wparam) == WA_INACTIVE || showing_ || !visible_ || closed_) return;
  if (events_ != nullptr) events_->handle_activate();
}

void Win32ShowWindow::on_key_down(WPARAM key) {
  if (!visible_ || closed_ || events_ == nullptr) return;
  events_->handle_key_down(static_cast<uint32_t>(key), keyboard_shift_state());
}

bool Win32ShowWindow::over_control(Point client) const {
  return control_ != nullptr && contains(parent_client_rect(), client) &&
         contains(control_->bounds_in_parent(), client);
}

void Win32ShowWindow::on_mouse_move(WPARAM keys, LPARAM position) {
  if (!visible_ || closed_) return;
  const Point client = client_point(position);
  const bool on_control = over_control(client);
  set_control_hovered(on_control);
  const uint32_t shift = mouse_shift_state(keys);
  // The control reports a move over it itself; the form sees the rest of its client area.
  if (on_control) {
    const Rect area = control_->bounds_in_parent();
    control_->handle_mouse_move(
        {MouseButton::kLeft, shift, client.x - area.left, client.y - area.top});
  } else if (events_ != nullptr) {
    events_->handle_mouse_move(shift, client.x, client.y);
  }
}

void Win32ShowWindow::on_mouse_leave() {
  set_control_hovered(false);
}

void Win32ShowWindow::on_mouse_button(bool down, MouseButton button, WPARAM keys, LPARAM position) {
  if (!visible_ || closed_) return;
  const Point client = client_point(position);
  if (!over_control(client)) return;
  const Rect area = control_->bounds_in_parent();
  const MouseInput input{button, mouse_shift_state(keys), client.x - area.left,
                         client.y - area.top};
  if (down)
    control_->handle_mouse_down(input);
  else
    control_->handle_mouse_up(input);
}

void Win32ShowWindow::on_destroyed() {
  // Destroyed by someone else (the system ending the session): closed from now on.
  window_ = nullptr;
  if (closed_) return;
  closed_ = true;
  visible_ = false;
  application_.window_closed(this);
}

void Win32ShowWindow::on_user_message(UINT message) {
  if (closed_ || events_ == nullptr) return;
  events_->handle_user_message(message);
}

bool Win32ShowWindow::on_system_command(WPARAM command) {
  switch (command & 0xFFF0) {
    case SC_CLOSE:
    case SC_SCREENSAVE:
    case SC_KEYMENU:
      return true;  // taken and ignored
    default:
      return false;
  }
}

void Win32ShowWindow::set_control_hovered(bool hovered) {
  if (hovered == control_hovered_) return;
  control_hovered_ = hovered;
  if (hovered && window_ != nullptr) {
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window_;
    TrackMouseEvent(&track);
  }
  if (control_ == nullptr) return;
  if (hovered)
    control_->handle_mouse_enter();
  else
    control_->handle_mouse_leave();
}

}  // namespace ss
