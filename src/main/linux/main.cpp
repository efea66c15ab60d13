// slidesaver: the saver runtime on Linux. A saver is a copy of this program with its package
// appended; it takes the Windows saver's command line, plus the X screen-saver daemon's
// conventions and a plain-window mode (see host_arguments.h).
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/saver_entry.h"
#include "main/linux/host_arguments.h"
#include "platform/sdl/sdl_platform.h"

namespace {

constexpr const char* kUsage =
    "usage: SAVER [/s | /c | /p ID | /a ID]       the Windows saver's switches (- or /)\n"
    "       SAVER -root | -window-id ID            draw the show into the root or an X window\n"
    "       SAVER --window WxH                     play the show in a plain window\n"
    "No switch opens the setup dialog; XSCREENSAVER_WINDOW names the daemon's window.\n";

bool asks_for_help(const std::vector<std::string>& args) {
  return !args.empty() && (args[0] == "--help" || args[0] == "-h");
}

}  // namespace

// The display libraries keep caches for the life of the process on purpose.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libX11\nleak:libSDL2\nleak:libdbus\n";
}

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (asks_for_help(args)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const char* daemon_window = std::getenv("XSCREENSAVER_WINDOW");
  ss::HostArguments host;
  try {
    host = ss::parse_host_arguments(
        args, daemon_window ? std::optional<std::string_view>(daemon_window) : std::nullopt);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "slidesaver: %s\n%s", e.what(), kUsage);
    return 2;
  }
  // Linux has no password-change dialog for savers: that mode ends at once, display or not.
  if (ss::select_mode(ss::upper_case_arguments(host.saver_args).first) == ss::smChangePassword)
    return 0;

  ss::SdlConfig config;
  config.surface = host.surface;
  config.window_size = host.window_size;
  config.foreign_window = host.foreign_window;
  std::unique_ptr<ss::SdlPlatform> platform;
  try {
    platform = std::make_unique<ss::SdlPlatform>(config);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "slidesaver: %s\n", e.what());
    return 1;
  }
  return ss::run_saver(host.saver_args, *platform);
}
