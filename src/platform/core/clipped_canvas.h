#pragma once
// The canvas every backend hands a hosted control: the control lies at `area` of a bitmap that
// holds the whole parent surface, and only the part `clip` of the bitmap is written.
#include "gfx/bitmap24.h"
#include "gfx/geometry.h"
#include "platform/control_host.h"

namespace ss {

class ClippedCanvas final : public ControlCanvas {
 public:
  ClippedCanvas(Bitmap24& surface, const Rect& area, const Rect& clip)
      : surface_(surface), area_(area), clip_(clip.intersect(surface.bounds())) {}
  ClippedCanvas(Bitmap24& surface, const Rect& area) : ClippedCanvas(surface, area, area) {}

  void copy_from(const Bitmap24& image) override;

 private:
  Bitmap24& surface_;
  Rect area_;
  Rect clip_;
};

}  // namespace ss
