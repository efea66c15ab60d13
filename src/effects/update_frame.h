#pragma once
// Composes one frame of a transition in the screen bitmap from the old image, the new image,
// the style and the progress. A frame depends only on these inputs: each starts again from the
// old image. The picture control owns the bitmaps and supplies the callbacks.
#include <cstdint>
#include <functional>

#include "gfx/bitmap24.h"
#include "gfx/geometry.h"

namespace ss {

// Sender-less form of the control's custom-draw event: (new image, screen bitmap).
using CustomDrawEvent = std::function<void(Bitmap24& picture, Bitmap24& screen)>;

struct FrameInputs {
  const Bitmap24& old_image;
  Bitmap24& new_image;  // handed to the events, which may draw into the screen only
  Bitmap24& screen;
  int32_t style = 51;
  int32_t progress = 0;  // 0..100
  int32_t step = 4;      // 1..100
  // Maps a rectangle in screen-bitmap coordinates to the control and invalidates it.
  std::function<void(const Rect&)> invalidate_frame_area;
  CustomDrawEvent on_before_new_frame;  // each may be empty
  CustomDrawEvent on_custom_draw;
  CustomDrawEvent on_after_new_frame;
};

struct FrameOutcome {
  // Style 0 without a custom-draw handler shows the new image at once and ends the transition:
  // the control then sets its progress to 100 directly.
  bool progress_forced_to_100 = false;
  // False when the style is above 127: nothing was composed, invalidated or fired after the
  // before-frame event, and the control should not repaint for this frame. Also false, with
  // nothing touched at all, when the three bitmaps are not of one size.
  bool composed = true;
};

// Between the first and the last frame, a frame of a region style whose clip region is none
// (a builder that produced no rectangle, or style 0 with a custom-draw handler) adds nothing
// of the new image: clipping to no region draws nothing. Progress is taken in 0..100 and Step
// in 1..100.
FrameOutcome UpdateFrame(FrameInputs& frame);

}  // namespace ss
