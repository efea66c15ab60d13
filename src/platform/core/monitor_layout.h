#pragma once
// The monitors as a system lists them, seen from the show: the show takes the primary one and
// covers the others. Coordinates move so that the primary's top-left is (0, 0), the show's
// own coordinates, whatever the system's origin is.
#include <vector>

#include "gfx/geometry.h"

namespace ss {

struct MonitorLayout {
  Rect primary;              // in the system's screen coordinates
  std::vector<Rect> others;  // in the show's coordinates
};

// `screens` in the system's coordinates, the primary first. Empty monitors, and monitors that
// overlap the primary (a mirrored one), get no cover: a cover there would hide the show.
MonitorLayout arrange_monitors(const std::vector<Rect>& screens);

}  // namespace ss
