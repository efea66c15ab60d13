#include "effects/update_frame.h"

#include <algorithm>
#include <cstring>

#include "gfx/raster.h"
#include "effects/frame_geometry.h"
#include "effects/style_table.h"

namespace ss {
namespace {

bool same_size(const Bitmap24& a, const Bitmap24& b) {
  return a.width() == b.width() && a.height() == b.height();
}

// Both bitmaps have the same size and therefore the same row padding: one block copy.
void copy_whole(Bitmap24& dst, const Bitmap24& src) {
  if (!dst.empty()) std::memcpy(dst.data(), src.data(), dst.stride() * dst.height());
}

void fire(const CustomDrawEvent& event, FrameInputs& frame) {
  if (event) event(frame.new_image, frame.screen);
}

// Style 0. A handler draws the frame itself and leaves no clip region, so the finishing step
// has nothing to add between the first and the last frame. Without a handler the new image is
// shown at once and the transition ends.
StyleFamily run_custom_style(FrameInputs& frame, FrameCtx& ctx, FrameOutcome& outcome) {
  if (frame.on_custom_draw) {
    fire(frame.on_custom_draw, frame);
  } else {
    copy_whole(frame.screen, frame.new_image);
    ctx.Q = Region::from_rect(ctx.whole());
    outcome.progress_forced_to_100 = true;
  }
  return StyleFamily::kRegion;
}

void finish(FrameInputs& frame, const FrameCtx& ctx, StyleFamily family, int32_t p) {
  if (p == 100) {
    copy_whole(frame.screen, frame.new_image);
    return;
  }
  if (p == 0) return;
  switch (family) {
    case StyleFamily::kRegion:
      // No region (a builder that made no rectangle, or a custom handler) clips everything
      // away: the frame keeps what step 4 left.
      if (ctx.Q) draw(frame.screen, 0, 0, frame.new_image, &*ctx.Q);
      break;
    case StyleFamily::kCopy:
      CopyPiece(frame.screen, ctx.D, frame.new_image, ctx.R);
      break;
    case StyleFamily::kPixel:
      break;
  }
}

}  // namespace

FrameOutcome UpdateFrame(FrameInputs& frame) {
  FrameOutcome outcome;
  Bitmap24& S = frame.screen;
  if (!same_size(S, frame.old_image) || !same_size(S, frame.new_image)) {
    outcome.composed = false;
    return outcome;
  }

  copy_whole(S, frame.old_image);
  fire(frame.on_before_new_frame, frame);

  const StyleRow* row = FindStyle(frame.style);
  if (frame.style != 0 && row == nullptr) {
    outcome.composed = false;
    return outcome;
  }

  const int32_t p = std::clamp<int32_t>(frame.progress, 0, 100);
  const int32_t step = std::clamp<int32_t>(frame.step, 1, 100);
  const FrameGeometry geometry = ComputeFrameGeometry(S.width(), S.height(), p, step);
  FrameCtx ctx(geometry, p, S, frame.new_image, frame.invalidate_frame_area);

  StyleFamily family;
  if (row == nullptr) {
    family = run_custom_style(frame, ctx, outcome);
  } else {
    row->build(ctx);
    family = row->family;
  }

  finish(frame, ctx, family, p);
  if (frame.invalidate_frame_area) frame.invalidate_frame_area(ctx.D);
  fire(frame.on_after_new_frame, frame);
  return outcome;
}

}  // namespace ss
