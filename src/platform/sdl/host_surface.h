#pragma once
// Where the Linux backend draws the show.
#include <cstdint>

namespace ss {

enum class HostSurface : uint8_t {
  kFullscreen,     // a window covering the primary display
  kWindow,         // a plain window of window_size
  kForeignWindow,  // an X window that someone else made
  kRootWindow,     // the X screen's root window
};

}  // namespace ss
