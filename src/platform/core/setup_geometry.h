#pragma once
// Where a backend puts the setup dialog's controls: aligned panels stretch across the client
// area (the top one from the top, the bottom one up from the bottom) and keep their designed
// height; every other control keeps its designed place within its parent, and a label takes
// the size of its text, so that a label without text has no area.
//
// Positions and sizes are designed at 96 dots per inch; on a screen of another resolution they
// are scaled by it, as the fonts are, so that the dialog keeps its look at any size.
#include <algorithm>
#include <cstddef>
#include <stdexcept>

#include "base/muldiv.h"
#include "gfx/geometry.h"
#include "platform/setup_view.h"

namespace ss {

inline constexpr int kDesignedDpi = 96;

// A designed length at `dpi`.
inline int scaled_for_dpi(int length, int dpi) {
  return dpi == kDesignedDpi ? length : MulDiv(length, dpi, kDesignedDpi);
}

inline Rect scaled_for_dpi(const Rect& r, int dpi) {
  return {scaled_for_dpi(r.left, dpi), scaled_for_dpi(r.top, dpi), scaled_for_dpi(r.right, dpi),
          scaled_for_dpi(r.bottom, dpi)};
}

// The bounds of control `index` of the layout within its parent, for a client area of
// `client_size` on a screen of `dpi`; `text_size` is the label's measured text (in the font for
// that resolution) and counts for labels only.
inline Rect setup_control_bounds(const SetupDialogLayout& layout, size_t index, Point client_size,
                                 Point text_size = {}, int dpi = kDesignedDpi) {
  if (index >= layout.controls.size()) throw std::out_of_range("no such setup control");
  const SetupControlLayout& control = layout.controls[index];
  const Rect designed = scaled_for_dpi(control.bounds, dpi);
  switch (control.align) {
    case SetupAlign::kTop:
      return {0, 0, client_size.x, std::min(designed.height(), client_size.y)};
    case SetupAlign::kBottom:
      return {0, std::max(0, client_size.y - designed.height()), client_size.x, client_size.y};
    case SetupAlign::kNone:
      break;
  }
  if (control.kind != SetupControlKind::kLabel) return designed;
  if (text_size.x <= 0 || text_size.y <= 0)
    return {designed.left, designed.top, designed.left, designed.top};
  return {designed.left, designed.top, designed.left + text_size.x, designed.top + text_size.y};
}

// The top-left corner of a window of `window_size` in the centre of a screen of `screen_size`.
// A window larger than the screen starts at its top-left corner, so that its caption stays
// reachable.
inline Point centred_window_origin(Point window_size, Point screen_size) {
  return {std::max(0, (screen_size.x - window_size.x) / 2),
          std::max(0, (screen_size.y - window_size.y) / 2)};
}

}  // namespace ss
