#pragma once
// What the parts of the SDL platform share: where the show is drawn, the application with its
// loop, the desktop, the fonts, and the register of our windows by SDL window id, through which
// the platform routes each event to its window. The platform owns it and must outlive every
// object it hands out.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "gfx/geometry.h"
#include "platform/sdl/host_surface.h"

union SDL_Event;

namespace ss {

class SdlApplication;
class SdlDesktop;
class FreeTypeText;
class SdlWindow;

struct SdlConfig {
  HostSurface surface = HostSurface::kFullscreen;
  Point window_size{800, 600};  // kWindow
  uint32_t foreign_window = 0;  // kForeignWindow
  // Redirections for tests; the system's own when not set.
  std::optional<std::string> executable_path;
  std::optional<std::string> temp_directory;
};

// A window of ours that takes SDL's events.
class SdlEventTarget {
 public:
  virtual void handle_event(const SDL_Event& event) = 0;

 protected:
  ~SdlEventTarget() = default;
};

struct SdlContext {
  const SdlConfig& config;
  SdlApplication& app;
  SdlDesktop& desktop;
  FreeTypeText& text;
  // The size of what the show covers: the primary monitor, the plain window or the given window.
  Point screen_size;
  // Full screen: the primary monitor in root-window coordinates.
  Rect primary_monitor;
  // The X window the show draws into: the given one, or the root window.
  uint32_t target_window = 0;

  std::map<uint32_t, SdlEventTarget*> targets;
  // The show windows in creation order; each adds and removes itself.
  std::vector<SdlWindow*> windows;
};

}  // namespace ss
