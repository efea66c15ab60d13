#include "platform/core/monitor_layout.h"

#include <algorithm>

namespace ss {

MonitorLayout arrange_monitors(const std::vector<Rect>& screens) {
  MonitorLayout layout;
  if (screens.empty()) return layout;
  layout.primary = screens.front();
  const Rect& primary = layout.primary;
  for (size_t i = 1; i < screens.size(); ++i) {
    const Rect& screen = screens[i];
    if (screen.empty() || !screen.intersect(primary).empty()) continue;
    const Rect moved = screen.offset(-primary.left, -primary.top);
    // A monitor listed twice is covered once.
    if (std::find(layout.others.begin(), layout.others.end(), moved) == layout.others.end())
      layout.others.push_back(moved);
  }
  return layout;
}

}  // namespace ss
