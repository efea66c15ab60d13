#pragma once
// The Linux runtime's own arguments, taken out of its command line before the saver sees the
// rest. The X screen-saver daemon starts its hacks with "-root" or "-window-id ID", or names
// the window in the environment variable XSCREENSAVER_WINDOW; a person trying a saver on a
// desktop may ask for a plain window with "--window WxH". Everything else is the saver's own
// Windows-style command line ("/s", "-c", "-p ID", ...), passed on unchanged.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/geometry.h"
#include "platform/sdl/host_surface.h"

namespace ss {

struct HostArguments {
  HostSurface surface = HostSurface::kFullscreen;
  Point window_size;            // kWindow
  uint32_t foreign_window = 0;  // kForeignWindow
  std::vector<std::string> saver_args;
};

// An X window id in decimal or as "0x" hexadecimal; nothing for 0 or anything malformed.
std::optional<uint32_t> parse_window_id(std::string_view text);
// "WxH" with both sides from 1 to 16384.
std::optional<Point> parse_window_size(std::string_view text);

// args are the arguments after the program name; xscreensaver_window is the environment
// variable's value when it is set. Drawing into a given window always runs the show, so the
// saver's own switches are then replaced by "/s". With the daemon's window in the environment,
// "-root" means that window: the daemon's hacks take it as their root. The preview's window id
// may also be given in hexadecimal; it is handed on in decimal. A plain window with no switch
// shows. Throws SaverError naming the bad argument when a value is missing or malformed.
HostArguments parse_host_arguments(const std::vector<std::string>& args,
                                   std::optional<std::string_view> xscreensaver_window);

}  // namespace ss
