#include "platform/win32/win32_show_window.h"

#include <windowsx.h>

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

Win32ShowWindow::Win32ShowWindow(Win32Application& application, Role role)
    : FormWindow(static_cast<NativeSurface&>(*this)), application_(application), role_(role) {
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
  self->application_.run_guarded(
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
    case WM_MOUSEACTIVATE:
      if (role_ != Role::kCover) return false;
      result = MA_NOACTIVATE;
      return true;
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE) activated();
      return false;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      key_down(static_cast<uint32_t>(wparam), keyboard_shift_state());
      return true;
    case WM_MOUSEMOVE:
      mouse_move(client_point(lparam), mouse_shift_state(wparam));
      return true;
    case WM_MOUSELEAVE:
      mouse_left();
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      mouse_button(message == WM_LBUTTONDOWN, MouseButton::kLeft, client_point(lparam),
                   mouse_shift_state(wparam));
      return true;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      mouse_button(message == WM_RBUTTONDOWN, MouseButton::kRight, client_point(lparam),
                   mouse_shift_state(wparam));
      return true;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      mouse_button(message == WM_MBUTTONDOWN, MouseButton::kMiddle, client_point(lparam),
                   mouse_shift_state(wparam));
      return true;
    case WM_SYSCOMMAND:
      return on_system_command(wparam);
    case WM_CLOSE:
      close();
      return true;
    case WM_NCDESTROY:
      // Destroyed by someone else (the system ending the session): closed from now on.
      window_ = nullptr;
      destroyed();
      return false;
    default:
      if (message >= WM_USER && message <= 0x7FFF) {
        user_message(message);
        return true;
      }
      return false;
  }
}

void Win32ShowWindow::show() {
  if (window_ != nullptr) FormWindow::show();
}

void Win32ShowWindow::invalidate_system(const Rect& client_area) {
  if (window_ == nullptr) return;
  const RECT r = {client_area.left, client_area.top, client_area.right, client_area.bottom};
  InvalidateRect(window_, &r, FALSE);
}

void Win32ShowWindow::update_system() {
  if (window_ != nullptr) UpdateWindow(window_);
}

void Win32ShowWindow::place(const Rect& screen_rect) {
  if (window_ != nullptr) {
    SetWindowPos(window_, nullptr, screen_rect.left, screen_rect.top, screen_rect.width(),
                 screen_rect.height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (screen_rect.width() != image_.width() || screen_rect.height() != image_.height())
    image_.resize(screen_rect.width(), screen_rect.height());
}

void Win32ShowWindow::raise_topmost() {
  if (window_ == nullptr) return;
  const UINT keep = role_ == Role::kCover ? SWP_NOACTIVATE : 0;
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | keep);
}

void Win32ShowWindow::show_native(ShowStage stage) {
  if (stage != ShowStage::kBeforeActivation || window_ == nullptr) return;
  if (role_ == Role::kCover) {
    ::ShowWindow(window_, SW_SHOWNOACTIVATE);
    return;
  }
  ::ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
}

void Win32ShowWindow::window_closed() {
  if (window_ != nullptr) ::ShowWindow(window_, SW_HIDE);
  application_.window_closed(this);
}

void Win32ShowWindow::post(Task task) {
  application_.post_guarded(std::move(task));
}

bool Win32ShowWindow::post_system_message(uint32_t message) {
  if (window_ != nullptr) PostMessageA(window_, message, 0, 0);
  return true;
}

void Win32ShowWindow::track_leave() {
  if (window_ == nullptr) return;
  TRACKMOUSEEVENT track = {};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = window_;
  TrackMouseEvent(&track);
}

void Win32ShowWindow::on_paint() {
  const PaintScope paint(window_);
  const Rect area = paint.area().intersect(image_.bounds());
  if (area.empty() || paint.dc() == nullptr) return;
  paint_dc_ = paint.dc();
  paint_area(area);
  paint_dc_ = nullptr;
}

void Win32ShowWindow::present(const Rect& area) {
  if (paint_dc_ == nullptr || area.empty()) return;
  // The rows of the area, seen as a top-down bitmap of the image's width.
  const BITMAPINFO header = top_down_dib_header(image_.width(), area.height());
  SetDIBitsToDevice(paint_dc_, area.left, area.top, static_cast<DWORD>(area.width()),
                    static_cast<DWORD>(area.height()), area.left, 0, 0,
                    static_cast<UINT>(area.height()), image_.row(area.top), &header,
                    DIB_RGB_COLORS);
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

}  // namespace ss
