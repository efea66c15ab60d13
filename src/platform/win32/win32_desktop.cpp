// Message boxes, the shell, the cursor, the screen and the instance guard.
#include "platform/win32/win32_desktop.h"

#include <shellapi.h>

#include <vector>

#include "platform/core/monitor_layout.h"

namespace ss {
namespace {

bool& hand_cursor_wanted() {
  static bool hand = false;
  return hand;
}

BOOL CALLBACK collect_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto& list = *reinterpret_cast<std::vector<Rect>*>(data);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info)) return TRUE;
  const Rect r{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
               info.rcMonitor.bottom};
  if (info.dwFlags & MONITORINFOF_PRIMARY)
    list.insert(list.begin(), r);
  else
    list.push_back(r);
  return TRUE;
}

}  // namespace

HCURSOR desktop_cursor() {
  return LoadCursorA(nullptr, hand_cursor_wanted() ? IDC_HAND : IDC_ARROW);
}

Win32Desktop::Win32Desktop(Win32Application& application) : application_(application) {}

Win32Desktop::~Win32Desktop() {
  remove_input_hook();
  close_instance_guard();
}

void Win32Desktop::show_error(const std::string& title, const std::string& text) {
  MessageBoxA(GetActiveWindow(), text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

bool Win32Desktop::ask_yes_no(const std::string& title, const std::string& text) {
  return MessageBoxA(GetActiveWindow(), text.c_str(), title.c_str(),
                     MB_YESNO | MB_ICONINFORMATION) == IDYES;
}

void Win32Desktop::shell_open(intptr_t owner, const std::string& target) {
  ShellExecuteA(reinterpret_cast<HWND>(owner), "open", target.c_str(), nullptr, nullptr,
                SW_SHOWNORMAL);
}

Point Win32Desktop::primary_screen_size() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::vector<Rect> Win32Desktop::other_monitors() {
  // The primary first: the one at the virtual screen's origin, which the system flags.
  std::vector<Rect> monitors;
  EnumDisplayMonitors(nullptr, nullptr, collect_monitor, reinterpret_cast<LPARAM>(&monitors));
  return arrange_monitors(monitors).others;
}

Point Win32Desktop::cursor_pos() {
  POINT p = {};
  if (!GetCursorPos(&p)) return {};
  return {p.x, p.y};
}

void Win32Desktop::show_cursor(bool show) {
  ShowCursor(show ? TRUE : FALSE);
}

void Win32Desktop::set_hand_cursor(bool hand) {
  hand_cursor_wanted() = hand;
  SetCursor(desktop_cursor());
}

InstanceGuardResult Win32Desktop::create_instance_guard(const std::string& name) {
  close_instance_guard();
  guard_ = CreateSemaphoreA(nullptr, 0, 1, name.c_str());
  if (guard_ == nullptr) return InstanceGuardResult::kFailed;
  // The handle is kept either way; the entry closes it.
  if (GetLastError() == ERROR_ALREADY_EXISTS) return InstanceGuardResult::kAlreadyRunning;
  return InstanceGuardResult::kCreated;
}

void Win32Desktop::close_instance_guard() {
  if (guard_ == nullptr) return;
  CloseHandle(guard_);
  guard_ = nullptr;
}

}  // namespace ss
