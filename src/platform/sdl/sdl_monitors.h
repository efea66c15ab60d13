#pragma once
// The monitors of the desktop, in root-window coordinates, the primary first. SDL's displays
// where SDL tells them apart; a server whose monitors are joined by Xinerama alone (no RandR)
// shows SDL a single display as wide as the whole desktop, and then the Xinerama heads are the
// monitors.
#include <optional>
#include <vector>

#include "gfx/geometry.h"
#include "platform/sdl/x11_windows.h"

namespace ss {

std::vector<Rect> list_monitors(X11Windows& x11);

// The SDL display that is exactly `monitor` (root-window coordinates), which SDL's desktop
// full-screen mode then fills; nothing when the monitor is part of a display.
std::optional<int> sdl_display_at(const Rect& monitor);

}  // namespace ss
