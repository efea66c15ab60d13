#pragma once
// What the backend asks the X server directly about windows that are not ours: the daemon's
// window or the root window the show draws into, and the preview's window. A connection of its
// own, opened on first use; errors for windows that have gone are caught, not fatal.
#include <cstdint>
#include <optional>
#include <vector>

#include "gfx/geometry.h"

struct _XDisplay;
struct SDL_Window;

namespace ss {

struct X11WindowState {
  bool viewable = false;  // mapped, and all its ancestors too
  Rect screen_rect;       // in root-window coordinates
};

class X11Windows {
 public:
  X11Windows() = default;
  ~X11Windows();
  X11Windows(const X11Windows&) = delete;
  X11Windows& operator=(const X11Windows&) = delete;

  // Nothing when there is no display or no such window.
  std::optional<X11WindowState> state(uint32_t window);
  // 0 when there is no display.
  uint32_t root_window();
  // The monitors the server's Xinerama reports, in root-window coordinates, the primary first;
  // empty when it reports none.
  std::vector<Rect> xinerama_heads();

  // Asks SDL's own connection for expose and size events of a window SDL did not create, so
  // that what is drawn there can be drawn again.
  static void watch_foreign(SDL_Window* window);

  // SDL wakes its waiting loop with an event sent to one of our windows from a connection of its
  // own; when that window has just been destroyed (a cover at the end of the show) the server
  // answers BadWindow, which Xlib's default handler turns into exit(1). That one error is
  // dropped; every other goes on to the handler installed before. Call after SDL_Init.
  static void drop_stale_wakeup_errors();

 private:
  bool connect();
  _XDisplay* display_ = nullptr;
  bool tried_ = false;
};

}  // namespace ss
