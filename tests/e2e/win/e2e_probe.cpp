// e2e_probe: the Windows side of the end-to-end tests, run under Wine beside the saver.
//
//   e2e_probe host W H FILE   opens a window whose W x H child stands in for the preview window of
//                             the display settings; writes the child's handle and screen position
//                             to FILE, then waits: FILE.go asks for the child's pixels (FILE.bmp),
//                             FILE.quit destroys the window. Ends by itself after two minutes.
//   e2e_probe windows         lists every top-level window and its children, one per line, as
//                             tab-separated key=value fields, the window text last.
//   e2e_probe fill HWND       fills another process's window with magenta through GetDC, the
//                             way the preview draws: shows whether such drawing reaches the screen.
//   e2e_probe opened FILE ARG appends ARG and a line break to FILE: registered as the shell's
//                             command for an address scheme, it records what the shell opened.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 50;
constexpr DWORD kHostLifetimeMs = 120000;

std::string utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  // Keep one window per line whatever its text holds.
  for (char& c : out)
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  return out;
}

bool file_exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes whole or not at all, so that the harness never reads half a file.
bool write_file_atomically(const std::string& path, const void* data, size_t size) {
  const std::string partial = path + ".part";
  FILE* f = std::fopen(partial.c_str(), "wb");
  if (!f) return false;
  const bool written = std::fwrite(data, 1, size, f) == size;
  if (std::fclose(f) != 0 || !written) return false;
  return MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

// The child's client area as a 24-bit bottom-up BMP, read back through its own device context.
bool save_client_bitmap(HWND window, const std::string& path) {
  RECT rc;
  GetClientRect(window, &rc);
  const int w = rc.right, h = rc.bottom;
  if (w <= 0 || h <= 0) return false;
  HDC window_dc = GetDC(window);
  HDC memory_dc = CreateCompatibleDC(window_dc);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory_dc, dib);
  BitBlt(memory_dc, 0, 0, w, h, window_dc, 0, 0, SRCCOPY);
  GdiFlush();
  const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
  const size_t image_size = stride * static_cast<size_t>(h);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + image_size);
  std::vector<unsigned char> out(file.bfSize);
  memcpy(out.data(), &file, sizeof(file));
  memcpy(out.data() + sizeof(file), &info.bmiHeader, sizeof(info.bmiHeader));
  memcpy(out.data() + file.bfOffBits, bits, image_size);
  SelectObject(memory_dc, old);
  DeleteObject(dib);
  DeleteDC(memory_dc);
  ReleaseDC(window, window_dc);
  return write_file_atomically(path, out.data(), out.size());
}

struct Host {
  std::string file;
  HWND frame = nullptr;
  HWND preview = nullptr;
  DWORD started = 0;
  bool pixels_saved = false;
};
Host g_host;

LRESULT CALLBACK frame_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_TIMER:
      if (!g_host.pixels_saved && file_exists(g_host.file + ".go"))
        g_host.pixels_saved = save_client_bitmap(g_host.preview, g_host.file + ".bmp");
      if (file_exists(g_host.file + ".quit") || GetTickCount() - g_host.started > kHostLifetimeMs)
        DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

int run_host(int width, int height, const std::string& file) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW frame_class{};
  frame_class.lpfnWndProc = frame_proc;
  frame_class.hInstance = instance;
  frame_class.hbrBackground = CreateSolidBrush(RGB(64, 64, 64));
  frame_class.lpszClassName = L"E2EPreviewFrame";
  WNDCLASSW preview_class{};
  preview_class.lpfnWndProc = DefWindowProcW;
  preview_class.hInstance = instance;
  // Grey until the saver paints: tells "drew nothing" from "drew black".
  preview_class.hbrBackground = CreateSolidBrush(RGB(128, 128, 128));
  preview_class.lpszClassName = L"E2EPreviewTarget";
  if (!RegisterClassW(&frame_class) || !RegisterClassW(&preview_class)) return 1;

  constexpr int kMargin = 10, kLeft = 40, kTop = 40;
  g_host.file = file;
  g_host.frame = CreateWindowExW(0, frame_class.lpszClassName, L"e2e preview host",
                                 WS_POPUP | WS_VISIBLE, kLeft, kTop, width + 2 * kMargin,
                                 height + 2 * kMargin, nullptr, nullptr, instance, nullptr);
  if (!g_host.frame) return 1;
  g_host.preview =
      CreateWindowExW(0, preview_class.lpszClassName, L"", WS_CHILD | WS_VISIBLE, kMargin, kMargin,
                      width, height, g_host.frame, nullptr, instance, nullptr);
  if (!g_host.preview) return 1;
  UpdateWindow(g_host.frame);

  RECT screen;
  GetWindowRect(g_host.preview, &screen);
  char text[160];
  const int n =
      std::snprintf(text, sizeof text, "hwnd=%llu\nleft=%ld\ntop=%ld\nright=%ld\nbottom=%ld\n",
                    static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(g_host.preview)),
                    screen.left, screen.top, screen.right, screen.bottom);
  if (!write_file_atomically(file, text, static_cast<size_t>(n))) return 1;

  g_host.started = GetTickCount();
  SetTimer(g_host.frame, kPollTimer, kPollMs, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

std::wstring window_text(HWND window) {
  wchar_t buffer[1024] = {};
  DWORD_PTR copied = 0;
  // A hung window must not hang the probe.
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer),
                           SMTO_ABORTIFHUNG, 2000, &copied))
    GetWindowTextW(window, buffer, 1024);
  return buffer;
}

void print_window(const char* kind, HWND window) {
  wchar_t class_name[256] = {};
  GetClassNameW(window, class_name, 256);
  RECT rc;
  GetWindowRect(window, &rc);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  std::string check;
  if (lstrcmpiW(class_name, L"Button") == 0) {
    DWORD_PTR state = 0;
    if (SendMessageTimeoutW(window, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state))
      check = "\tcheck=" + std::to_string(state);
  }
  std::printf(
      "%s\thwnd=%llu\tparent=%llu\tpid=%lu\tvisible=%d\tstyle=%08lx\texstyle=%08lx\trect=%ld,%ld,%"
      "ld,%ld"
      "\tclass=%s%s\ttext=%s\n",
      kind, static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
      static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(GetAncestor(window, GA_PARENT))),
      pid, IsWindowVisible(window) ? 1 : 0,
      static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
      static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)), rc.left, rc.top, rc.right,
      rc.bottom, utf8(class_name).c_str(), check.c_str(), utf8(window_text(window)).c_str());
}

BOOL CALLBACK print_child(HWND window, LPARAM) {
  print_window("child", window);
  return TRUE;
}

BOOL CALLBACK print_top_level(HWND window, LPARAM) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == GetCurrentProcessId()) return TRUE;
  print_window("top", window);
  EnumChildWindows(window, print_child, 0);
  return TRUE;
}

int run_fill(const char* handle) {
  const HWND window =
      reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(handle, nullptr, 10)));
  HDC dc = GetDC(window);
  if (!dc) return 1;
  RECT rc;
  GetClientRect(window, &rc);
  HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
  FillRect(dc, &rc, magenta);
  DeleteObject(magenta);
  ReleaseDC(window, dc);
  GdiFlush();
  return 0;
}

int run_windows() {
  EnumWindows(print_top_level, 0);
  std::fflush(stdout);
  return 0;
}

BOOL CALLBACK print_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info)) return TRUE;
  std::printf("monitor\trect=%ld,%ld,%ld,%ld\tprimary=%d\n", info.rcMonitor.left,
              info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom,
              (info.dwFlags & MONITORINFOF_PRIMARY) ? 1 : 0);
  return TRUE;
}

// The monitors as the saver sees them.
int run_monitors() {
  EnumDisplayMonitors(nullptr, nullptr, print_monitor, 0);
  std::fflush(stdout);
  return 0;
}

int run_opened(const char* file, const char* argument) {
  FILE* out = std::fopen(file, "ab");
  if (out == nullptr) return 1;
  std::fprintf(out, "%s\n", argument);
  std::fclose(out);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "host" && argc == 5)
    return run_host(std::atoi(argv[2]), std::atoi(argv[3]), argv[4]);
  if (command == "windows" && argc == 2) return run_windows();
  if (command == "monitors" && argc == 2) return run_monitors();
  if (command == "fill" && argc == 3) return run_fill(argv[2]);
  if (command == "opened" && argc == 4) return run_opened(argv[2], argv[3]);
  std::fputs(
      "usage: e2e_probe host W H FILE | e2e_probe windows | e2e_probe monitors | "
      "e2e_probe fill HWND | "
      "e2e_probe opened FILE ARG\n",
      stderr);
  return 2;
}
