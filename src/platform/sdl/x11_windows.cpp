#include "platform/sdl/x11_windows.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/Xinerama.h>

namespace ss {
namespace {

bool g_x_error = false;
XErrorHandler g_next_handler = nullptr;

int drop_stale_wakeup(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
  return g_next_handler != nullptr ? g_next_handler(display, error) : 0;
}

int remember_error(Display*, XErrorEvent*) {
  g_x_error = true;
  return 0;
}

// Runs the requests with errors caught; false when the server reported one.
template <typename F>
bool without_x_errors(Display* display, F&& requests) {
  XSync(display, False);
  g_x_error = false;
  const auto previous = XSetErrorHandler(remember_error);
  const bool ok = requests();
  XSync(display, False);
  XSetErrorHandler(previous);
  return ok && !g_x_error;
}

}  // namespace

X11Windows::~X11Windows() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

bool X11Windows::connect() {
  if (!tried_) {
    tried_ = true;
    display_ = XOpenDisplay(nullptr);
  }
  return display_ != nullptr;
}

std::optional<X11WindowState> X11Windows::state(uint32_t window) {
  if (!connect() || window == 0) return std::nullopt;
  XWindowAttributes attributes{};
  int x = 0;
  int y = 0;
  const bool ok = without_x_errors(display_, [&] {
    if (XGetWindowAttributes(display_, window, &attributes) == 0) return false;
    Window child = 0;
    return XTranslateCoordinates(display_, window, attributes.root, 0, 0, &x, &y, &child) != 0;
  });
  if (!ok) return std::nullopt;
  return X11WindowState{attributes.map_state == IsViewable,
                        {x, y, x + attributes.width, y + attributes.height}};
}

uint32_t X11Windows::root_window() {
  if (!connect()) return 0;
  return static_cast<uint32_t>(DefaultRootWindow(display_));
}

std::vector<Rect> X11Windows::xinerama_heads() {
  std::vector<Rect> heads;
  if (!connect() || XineramaIsActive(display_) == False) return heads;
  int count = 0;
  XineramaScreenInfo* screens = XineramaQueryScreens(display_, &count);
  if (screens == nullptr) return heads;
  for (int i = 0; i < count; ++i) {
    const XineramaScreenInfo& s = screens[i];
    heads.push_back({s.x_org, s.y_org, s.x_org + s.width, s.y_org + s.height});
  }
  XFree(screens);
  return heads;
}

void X11Windows::drop_stale_wakeup_errors() {
  const XErrorHandler previous = XSetErrorHandler(drop_stale_wakeup);
  if (previous != drop_stale_wakeup) g_next_handler = previous;
}

void X11Windows::watch_foreign(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
  Display* display = info.info.x11.display;
  without_x_errors(display, [&] {
    XSelectInput(display, info.info.x11.window, ExposureMask | StructureNotifyMask);
    return true;
  });
}

}  // namespace ss
