#pragma once
// The rectangle that a stretched-but-proportional image takes inside a target area.
#include "gfx/geometry.h"

namespace ss {

// The largest rectangle of `image`'s aspect ratio that fits `target`, centred in it. Images
// are scaled up as well as down. An empty image gives an empty rectangle at target's corner.
Rect FitRect(const Rect& image, const Rect& target);

}  // namespace ss
