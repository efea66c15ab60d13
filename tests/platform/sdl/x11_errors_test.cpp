// The X errors the backend lets pass: SDL wakes its loop with an event sent from a connection of
// its own, and the window it is sent to may have been destroyed a moment before (a monitor's
// cover at the end of the show). Xlib's default answer to that error is exit(1).
#include <gtest/gtest.h>

#include <memory>

#include "display_rig.h"
#include "driver_allocations.h"
#include "platform/sdl/sdl_platform.h"

// Last: Xlib's macros (None, Bool) would break the headers above.
#include <X11/Xlib.h>

namespace sdl_test {
namespace {

TEST(SdlX11Errors, AnEventSentToAWindowThatIsGoneDoesNotEndTheProgram) {
  Xvfb x(320, 240);
  if (!x.running()) GTEST_SKIP() << "Xvfb is not installed";
  ss::SdlConfig config;
  config.surface = ss::HostSurface::kWindow;
  config.window_size = {64, 48};
  const auto platform = [&] {
    const DriverAllocations unchecked;
    return std::make_unique<ss::SdlPlatform>(config);
  }();

  Display* other = XOpenDisplay(nullptr);
  ASSERT_NE(other, nullptr);
  const Window gone = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 8, 8, 0, 0, 0);
  XDestroyWindow(other, gone);
  XEvent wakeup{};
  wakeup.xclient.type = ClientMessage;
  wakeup.xclient.window = gone;
  wakeup.xclient.format = 32;
  XSendEvent(other, gone, False, NoEventMask, &wakeup);
  XSync(other, False);  // the server's BadWindow is handled here
  XCloseDisplay(other);
  SUCCEED() << "still running";
}

}  // namespace
}  // namespace sdl_test
