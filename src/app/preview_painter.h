#pragma once
// Preview mode: the saver's first picture, stretched, painted once into a window of the
// system's display settings, after which the process only keeps that window company until it
// goes away. Creates no form and no timer.
#include <cstdint>
#include <string>

#include "gfx/geometry.h"
#include "platform/platform.h"

namespace ss {

// Between two looks at the window the painter waits this long for messages.
inline constexpr uint32_t kPreviewPollMs = 50;
// A window that does not become visible within this time is taken as gone, so that a stray
// handle cannot keep the process (and with it the saver's instance guard) alive for ever.
inline constexpr uint32_t kPreviewAppearLimitMs = 10'000;

// The rectangle the picture is stretched over: from the window's top-left corner, one pixel
// wider and higher than the window; the excess is clipped away.
Rect preview_target_rect(const Rect& window_screen_rect);

// Runs preview mode for the window whose handle is the decimal window_argument. Returns when
// the window has gone; errors (a handle that is no number, a package without a picture
// stream at its start, a picture that cannot be decoded) propagate to the entry.
void run_preview_painter(const std::string& window_argument, Platform& platform);

}  // namespace ss
