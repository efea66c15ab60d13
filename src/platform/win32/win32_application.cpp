#include "platform/win32/win32_application.h"

#include <algorithm>
#include <vector>

#include "base/error.h"
#include "base/path.h"
#include "platform/files.h"
#include "platform/win32/win32_timer.h"

namespace ss {
namespace {

constexpr const char* kMessageWindowClass = "SlidesaverMessageWindow";

std::vector<HWND>& dialog_windows() {
  static std::vector<HWND> windows;
  return windows;
}

std::string application_title() {
  FileSystem& files = native_file_system();
  std::string name = file_name_of(files.executable_path(), files.lead_bytes());
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

void register_message_window_class(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.lpszClassName = kMessageWindowClass;
  RegisterClassExA(&window_class);  // a second application finds the class already there
}

}  // namespace

void register_dialog_window(HWND window) {
  std::vector<HWND>& windows = dialog_windows();
  if (std::find(windows.begin(), windows.end(), window) == windows.end()) windows.push_back(window);
}

void unregister_dialog_window(HWND window) {
  std::vector<HWND>& windows = dialog_windows();
  windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

bool dispatch_to_dialog(MSG& message) {
  if (message.hwnd == nullptr) return false;
  for (HWND dialog : dialog_windows()) {
    if (message.hwnd == dialog || IsChild(dialog, message.hwnd))
      return IsDialogMessageA(dialog, &message) != 0;
  }
  return false;
}

Win32Application::Win32Application()
    : ApplicationCore(loop_, FirstShow::kAtOnce, INFINITE), title_(application_title()) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  register_message_window_class(instance, &Win32Application::message_window_proc);
  message_window_ = CreateWindowExA(0, kMessageWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, instance, nullptr);
  if (message_window_ != nullptr)
    SetWindowLongPtrA(message_window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  loop_.set_quit_handler([this] { terminate(); });
}

Win32Application::~Win32Application() {
  if (message_window_ != nullptr) {
    SetWindowLongPtrA(message_window_, GWLP_USERDATA, 0);
    DestroyWindow(message_window_);
  }
}

LRESULT CALLBACK Win32Application::message_window_proc(HWND window, UINT message, WPARAM wparam,
                                                       LPARAM lparam) {
  auto* application = reinterpret_cast<Win32Application*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (application != nullptr && message == WM_TIMER) {
    application->fire_timer(static_cast<UINT_PTR>(wparam));
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

std::unique_ptr<Timer> Win32Application::create_timer() {
  return std::make_unique<Win32Timer>(*this);
}

UINT_PTR Win32Application::add_timer(Win32Timer* timer) {
  const UINT_PTR id = next_timer_id_++;
  timers_[id] = timer;
  return id;
}

void Win32Application::remove_timer(UINT_PTR id) {
  timers_.erase(id);
}

void Win32Application::fire_timer(UINT_PTR id) {
  // After termination the loop hands out no more timer messages.
  if (terminated()) return;
  const auto found = timers_.find(id);
  if (found == timers_.end()) return;
  found->second->fire();
}

void Win32Application::report_error(const std::string& message) {
  MessageBoxA(GetActiveWindow(), message.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace ss
