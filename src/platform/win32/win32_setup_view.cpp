// The setup dialog's window: the form, its two aligned panels and their controls, built from
// the designed layout. The loop treats the form as a dialog (Tab moves between the box and OK,
// Enter presses OK), and what the user does reaches the dialog's logic through SetupEvents.
// The layout and the fonts follow the resolution of the monitor the form is on.
#include "platform/win32/win32_setup_view.h"

#include <windows.h>

#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/error.h"
#include "platform/core/setup_geometry.h"
#include "platform/setup_view.h"
#include "platform/win32/setup_look.h"
#include "platform/win32/win32_application.h"
#include "platform/win32/win32_desktop.h"

namespace ss {
namespace {

constexpr char kFormClass[] = "SlidesaverSetupForm";
constexpr char kPanelClass[] = "SlidesaverSetupPanel";
constexpr int kFirstControlId = 100;

size_t slot_of(SetupControl control) {
  return static_cast<size_t>(control);
}

class Win32SetupView final : public SetupView {
 public:
  Win32SetupView(Application& application, const SetupDialogLayout& layout);
  ~Win32SetupView() override;
  Win32SetupView(const Win32SetupView&) = delete;
  Win32SetupView& operator=(const Win32SetupView&) = delete;

  void set_events(SetupEvents* events) override { events_ = events; }
  void set_window_caption(const std::string& caption) override;
  std::string window_caption() const override { return window_caption_; }
  void set_caption(SetupControl control, const std::string& caption) override;
  std::string caption(SetupControl control) const override {
    return captions_.at(slot_of(control));
  }
  void set_checked(bool checked) override;
  bool checked() const override { return checked_; }
  void show() override;
  bool visible() const override { return form_ != nullptr && IsWindowVisible(form_) != FALSE; }
  void close() override;
  intptr_t native_handle() const override { return reinterpret_cast<intptr_t>(form_); }

 private:
  static void register_window_classes();
  static LRESULT CALLBACK form_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK panel_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK label_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static Win32SetupView* view_of(HWND window) {
    return reinterpret_cast<Win32SetupView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  }
  LRESULT form_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT panel_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT label_message(size_t index, HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // Reports the error being handled; for the last line of defence in the window procedures.
  void report_current_error() noexcept;

  void create_windows();
  void create_control(size_t index);
  // The frame for the designed client area at the current resolution.
  Point frame_size() const;
  // Fonts, places and the frame for a new resolution (the form moved to another monitor).
  void change_dpi(int dpi, const RECT* suggested);
  void place_panels();
  void place_label(size_t index);
  // The index in the layout of one of our windows, or -1.
  int index_of(HWND window) const;
  HWND window_of(SetupControl control) const;
  HWND first_tab_stop() const;

  // Messages that the form and both panels answer alike; false when the message is not ours.
  bool handle_shared(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  void handle_command(WORD id, WORD code, HWND control);
  void handle_label_mouse(size_t index, UINT message);
  bool takes_input() const { return events_ != nullptr && !closed_ && visible(); }
  // Runs an event handler; an escaping error goes to the application's report.
  void guarded(const std::function<void()>& handler) noexcept;

  Application& application_;
  const SetupDialogLayout& layout_;
  int dpi_ = kDesignedDpi;
  std::unique_ptr<SetupFonts> fonts_;
  HBRUSH background_;
  HWND form_ = nullptr;
  std::vector<HWND> windows_;              // one per control of the layout
  std::vector<WNDPROC> label_procedures_;  // the address labels' own procedures
  std::vector<bool> pointer_inside_;       // address labels the pointer is over
  std::array<std::string, 6> captions_;
  std::string window_caption_;
  SetupEvents* events_ = nullptr;
  HWND focus_ = nullptr;  // restored when the form is activated again
  bool checked_ = false;  // the box's state, also after the window has gone
  bool shown_ = false;
  bool closed_ = false;
};

void Win32SetupView::register_window_classes() {
  static const bool registered = [] {
    WNDCLASSEXA form = {};
    form.cbSize = sizeof form;
    form.lpfnWndProc = &form_procedure;
    form.hInstance = GetModuleHandleA(nullptr);
    form.lpszClassName = kFormClass;
    WNDCLASSEXA panel = form;
    panel.style = CS_HREDRAW | CS_VREDRAW;  // the bevel follows the panel's edge
    panel.lpfnWndProc = &panel_procedure;
    panel.lpszClassName = kPanelClass;
    return RegisterClassExA(&form) != 0 && RegisterClassExA(&panel) != 0;
  }();
  if (!registered) throw SaverError("Cannot register the setup dialog's window classes");
}

Win32SetupView::Win32SetupView(Application& application, const SetupDialogLayout& layout)
    : application_(application),
      layout_(layout),
      background_(CreateSolidBrush(colorref_of(layout_.color))),
      windows_(layout_.controls.size(), nullptr),
      label_procedures_(layout_.controls.size(), nullptr),
      pointer_inside_(layout_.controls.size(), false),
      window_caption_(layout_.caption) {
  for (const SetupControlLayout& control : layout_.controls)
    if (control.control) captions_.at(slot_of(*control.control)) = std::string(control.caption);
  register_window_classes();
  try {
    create_windows();
  } catch (...) {
    if (form_ != nullptr) DestroyWindow(form_);
    DeleteObject(background_);
    throw;
  }
  register_dialog_window(form_);
}

Win32SetupView::~Win32SetupView() {
  if (form_ != nullptr) {
    unregister_dialog_window(form_);
    DestroyWindow(form_);
  }
  DeleteObject(background_);
}

namespace {

DWORD form_style(const SetupDialogLayout& layout) {
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
  if (layout.system_menu) style |= WS_SYSMENU;
  if (layout.sizeable) style |= WS_THICKFRAME;
  return style;
}

constexpr DWORD kFormExtendedStyle = WS_EX_CONTROLPARENT;

}  // namespace

Point Win32SetupView::frame_size() const {
  RECT frame = {0, 0, scaled_for_dpi(layout_.client_width, dpi_),
                scaled_for_dpi(layout_.client_height, dpi_)};
  AdjustWindowRectEx(&frame, form_style(layout_), FALSE, kFormExtendedStyle);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

void Win32SetupView::create_windows() {
  form_ = CreateWindowExA(kFormExtendedStyle, kFormClass, window_caption_.c_str(),
                          form_style(layout_), CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  if (form_ == nullptr) throw SaverError("Cannot create the setup dialog");
  // The resolution is the monitor's that the form opened on; the frame is sized for it.
  dpi_ = window_dpi(form_);
  fonts_ = std::make_unique<SetupFonts>(layout_, dpi_);
  const Point frame = frame_size();
  SetWindowPos(form_, nullptr, 0, 0, frame.x, frame.y, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowLongPtrA(form_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SendMessageA(form_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_->form_font()), FALSE);
  // In the layout's order, which puts every panel before its controls and the controls in
  // their tab order.
  for (size_t i = 0; i < layout_.controls.size(); ++i) create_control(i);
  place_panels();
  focus_ = first_tab_stop();
}

void Win32SetupView::create_control(size_t index) {
  const SetupControlLayout& control = layout_.controls[index];
  const HWND parent = control.parent < 0 ? form_ : windows_.at(static_cast<size_t>(control.parent));
  const char* window_class = "BUTTON";
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  DWORD extended = 0;
  switch (control.kind) {
    case SetupControlKind::kPanel:
      window_class = kPanelClass;
      extended = WS_EX_CONTROLPARENT;
      break;
    case SetupControlKind::kLabel:
      window_class = "STATIC";
      style |= SS_LEFT;
      if (control.opens_caption) style |= SS_NOTIFY;
      break;
    case SetupControlKind::kCheckBox:
      style |= BS_AUTOCHECKBOX;
      break;
    case SetupControlKind::kButton:
      // The dialog's one button takes Enter wherever the focus is.
      style |= BS_DEFPUSHBUTTON;
      break;
  }
  if (control.tab_order >= 0) style |= WS_TABSTOP;
  const int id =
      control.kind == SetupControlKind::kButton ? IDOK : kFirstControlId + static_cast<int>(index);
  const std::string text = control.control ? caption(*control.control) : std::string();
  const Rect bounds = setup_control_bounds(layout_, index, {}, {}, dpi_);
  const HWND window = CreateWindowExA(extended, window_class, text.c_str(), style, bounds.left,
                                      bounds.top, bounds.width(), bounds.height(), parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                      GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) throw SaverError("Cannot create the setup dialog's controls");
  windows_[index] = window;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_->font(index)), FALSE);
  if (control.opens_caption) {
    label_procedures_[index] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&label_procedure)));
  }
  if (control.kind == SetupControlKind::kLabel) place_label(index);
}

void Win32SetupView::place_panels() {
  RECT client = {};
  GetClientRect(form_, &client);
  for (size_t i = 0; i < layout_.controls.size(); ++i) {
    if (layout_.controls[i].kind != SetupControlKind::kPanel) continue;
    const Rect r = setup_control_bounds(layout_, i, {client.right, client.bottom}, {}, dpi_);
    MoveWindow(windows_[i], r.left, r.top, r.width(), r.height(), TRUE);
  }
}

void Win32SetupView::change_dpi(int dpi, const RECT* suggested) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  // The controls take the new fonts before the old ones are deleted.
  std::unique_ptr<SetupFonts> old = std::move(fonts_);
  fonts_ = std::make_unique<SetupFonts>(layout_, dpi_);
  SendMessageA(form_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_->form_font()), FALSE);
  for (size_t i = 0; i < layout_.controls.size(); ++i) {
    SendMessageA(windows_[i], WM_SETFONT, reinterpret_cast<WPARAM>(fonts_->font(i)), TRUE);
    const SetupControlKind kind = layout_.controls[i].kind;
    if (kind == SetupControlKind::kLabel) {
      place_label(i);
    } else if (kind != SetupControlKind::kPanel) {
      const Rect r = setup_control_bounds(layout_, i, {}, {}, dpi_);
      SetWindowPos(windows_[i], nullptr, r.left, r.top, r.width(), r.height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  old.reset();
  if (suggested != nullptr) {
    SetWindowPos(form_, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    const Point frame = frame_size();
    SetWindowPos(form_, nullptr, 0, 0, frame.x, frame.y,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  place_panels();
  InvalidateRect(form_, nullptr, TRUE);
}

void Win32SetupView::place_label(size_t index) {
  const HWND label = windows_[index];
  const SetupControlLayout& control = layout_.controls[index];
  const std::string text = control.control ? caption(*control.control) : std::string();
  const Point size = label_text_size(label, fonts_->font(index), text);
  const Rect r = setup_control_bounds(layout_, index, {}, size, dpi_);
  SetWindowPos(label, nullptr, r.left, r.top, r.width(), r.height(), SWP_NOZORDER | SWP_NOACTIVATE);
  // A label without text has no area: nothing to point at or click.
  ::ShowWindow(label, r.empty() ? SW_HIDE : SW_SHOWNA);
  InvalidateRect(GetParent(label), nullptr, TRUE);
}

int Win32SetupView::index_of(HWND window) const {
  if (window == nullptr) return -1;
  for (size_t i = 0; i < windows_.size(); ++i)
    if (windows_[i] == window) return static_cast<int>(i);
  return -1;
}

HWND Win32SetupView::window_of(SetupControl control) const {
  for (size_t i = 0; i < layout_.controls.size(); ++i)
    if (layout_.controls[i].control == control) return windows_[i];
  return nullptr;
}

HWND Win32SetupView::first_tab_stop() const {
  HWND first = nullptr;
  int lowest = -1;
  for (size_t i = 0; i < layout_.controls.size(); ++i) {
    const int order = layout_.controls[i].tab_order;
    if (order >= 0 && (lowest < 0 || order < lowest)) {
      lowest = order;
      first = windows_[i];
    }
  }
  return first;
}

void Win32SetupView::set_window_caption(const std::string& caption) {
  window_caption_ = caption;
  if (form_ != nullptr) SetWindowTextA(form_, caption.c_str());
}

void Win32SetupView::set_caption(SetupControl control, const std::string& caption) {
  captions_.at(slot_of(control)) = caption;
  const HWND window = window_of(control);
  if (window == nullptr) return;
  SetWindowTextA(window, caption.c_str());
  const int index = index_of(window);
  if (layout_.controls[static_cast<size_t>(index)].kind == SetupControlKind::kLabel)
    place_label(static_cast<size_t>(index));
}

void Win32SetupView::set_checked(bool checked) {
  checked_ = checked;
  // A program's change sends no click.
  SendMessageA(window_of(SetupControl::cbMute), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED,
               0);
}

void Win32SetupView::show() {
  if (shown_ || closed_) return;
  shown_ = true;
  RECT frame = {};
  GetWindowRect(form_, &frame);
  const Point origin =
      centred_window_origin({frame.right - frame.left, frame.bottom - frame.top},
                            {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  SetWindowPos(form_, nullptr, origin.x, origin.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // As the framework does, the form's show handler runs just before the form appears.
  if (events_ != nullptr) guarded([this] { events_->handle_show(); });
  if (closed_) return;
  ::ShowWindow(form_, SW_SHOW);
  SetForegroundWindow(form_);
  if (focus_ != nullptr) SetFocus(focus_);
  UpdateWindow(form_);
}

void Win32SetupView::close() {
  if (closed_) return;
  closed_ = true;
  if (form_ != nullptr) {
    unregister_dialog_window(form_);
    const HWND form = form_;
    form_ = nullptr;
    DestroyWindow(form);
  }
  application_.terminate();
}

void Win32SetupView::guarded(const std::function<void()>& handler) noexcept {
  try {
    try {
      handler();
    } catch (...) {
      application_.report_error(current_exception_text());
    }
  } catch (...) {
    // The report itself failed; nothing may unwind into the system.
  }
}

bool Win32SetupView::handle_shared(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                   LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client = {};
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, background_);
      result = 1;
      return true;
    }
    case WM_CTLCOLORSTATIC: {
      // Labels and the box show the panel through, in their font's colour.
      const int index = index_of(reinterpret_cast<HWND>(lparam));
      const HDC device = reinterpret_cast<HDC>(wparam);
      const Color text =
          index < 0 ? layout_.font.color : layout_.controls[static_cast<size_t>(index)].font.color;
      SetTextColor(device, colorref_of(text));
      SetBkColor(device, colorref_of(layout_.color));
      SetBkMode(device, TRANSPARENT);
      result = reinterpret_cast<LRESULT>(background_);
      return true;
    }
    case WM_SETCURSOR:
      // The desktop's cursor (the hand over an address label) rather than the classes' arrow.
      if (LOWORD(lparam) != HTCLIENT) return false;
      SetCursor(desktop_cursor());
      result = TRUE;
      return true;
    case WM_COMMAND:
      handle_command(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      result = 0;
      return true;
    default:
      return false;
  }
}

void Win32SetupView::handle_command(WORD id, WORD code, HWND control) {
  // Clicks only (BN_CLICKED and STN_CLICKED are both 0): a double click is two of them already.
  if (code != 0 || !takes_input()) return;
  const int index = index_of(control);
  if (index < 0) {
    // Enter outside the button, as the loop's dialog handling reports it.
    if (id == IDOK) guarded([this] { events_->handle_ok_click(); });
    return;
  }
  const SetupControlLayout& layout = layout_.controls[static_cast<size_t>(index)];
  if (!layout.control) return;
  const SetupControl which = *layout.control;
  switch (layout.kind) {
    case SetupControlKind::kCheckBox:
      checked_ = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
      guarded([this] { events_->handle_mute_click(); });
      break;
    case SetupControlKind::kButton:
      guarded([this] { events_->handle_ok_click(); });
      break;
    case SetupControlKind::kLabel:
      if (layout.opens_caption && !caption(which).empty())
        guarded([this, which] { events_->handle_label_click(which); });
      break;
    case SetupControlKind::kPanel:
      break;
  }
}

void Win32SetupView::handle_label_mouse(size_t index, UINT message) {
  const SetupControlLayout& layout = layout_.controls[index];
  if (!layout.control) return;
  const SetupControl which = *layout.control;
  if (message == WM_MOUSEMOVE && !pointer_inside_[index]) {
    if (!takes_input() || caption(which).empty()) return;
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = windows_[index];
    if (!TrackMouseEvent(&track)) return;
    pointer_inside_[index] = true;
    guarded([this, which] { events_->handle_label_enter(which); });
  } else if (message == WM_MOUSELEAVE && pointer_inside_[index]) {
    pointer_inside_[index] = false;
    if (events_ != nullptr) guarded([this, which] { events_->handle_label_leave(which); });
  }
}

void Win32SetupView::report_current_error() noexcept {
  try {
    throw;
  } catch (const std::exception& error) {
    guarded([&] { application_.report_error(error.what()); });
  } catch (...) {
    guarded([&] { application_.report_error("Unknown error"); });
  }
}

LRESULT CALLBACK Win32SetupView::form_procedure(HWND window, UINT message, WPARAM wparam,
                                                LPARAM lparam) {
  Win32SetupView* view = view_of(window);
  if (view == nullptr) return DefWindowProcA(window, message, wparam, lparam);
  try {
    return view->form_message(window, message, wparam, lparam);
  } catch (...) {
    view->report_current_error();
    return 0;
  }
}

LRESULT Win32SetupView::form_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (handle_shared(window, message, wparam, lparam, result)) return result;
  switch (message) {
    case WM_SIZE:
      place_panels();
      return 0;
    case WM_DPICHANGED:
      change_dpi(HIWORD(wparam), reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window, focus)) focus_ = focus;
      } else if (focus_ != nullptr) {
        SetFocus(focus_);
      }
      return 0;
    case WM_CLOSE:
      // Alt+F4: the dialog goes as it came, without storing anything.
      close();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK Win32SetupView::panel_procedure(HWND window, UINT message, WPARAM wparam,
                                                 LPARAM lparam) {
  Win32SetupView* view = view_of(window);
  if (view == nullptr) return DefWindowProcA(window, message, wparam, lparam);
  try {
    return view->panel_message(window, message, wparam, lparam);
  } catch (...) {
    view->report_current_error();
    return 0;
  }
}

LRESULT Win32SetupView::panel_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (handle_shared(window, message, wparam, lparam, result)) return result;
  if (message == WM_PAINT) {
    // The framework's panel: a raised bevel one pixel wide around the form's colour.
    PAINTSTRUCT paint;
    const HDC device = BeginPaint(window, &paint);
    RECT client = {};
    GetClientRect(window, &client);
    DrawEdge(device, &client, BDR_RAISEDINNER, BF_RECT);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK Win32SetupView::label_procedure(HWND window, UINT message, WPARAM wparam,
                                                 LPARAM lparam) {
  Win32SetupView* view = view_of(window);
  const int index = view == nullptr ? -1 : view->index_of(window);
  if (index < 0) return DefWindowProcA(window, message, wparam, lparam);
  try {
    return view->label_message(static_cast<size_t>(index), window, message, wparam, lparam);
  } catch (...) {
    view->report_current_error();
    return 0;
  }
}

LRESULT Win32SetupView::label_message(size_t index, HWND window, UINT message, WPARAM wparam,
                                      LPARAM lparam) {
  if (message == WM_MOUSEMOVE || message == WM_MOUSELEAVE) handle_label_mouse(index, message);
  return CallWindowProcA(label_procedures_[index], window, message, wparam, lparam);
}

}  // namespace

std::unique_ptr<SetupView> create_win32_setup_view(Application& application,
                                                   const SetupDialogLayout& layout) {
  return std::make_unique<Win32SetupView>(application, layout);
}

}  // namespace ss
