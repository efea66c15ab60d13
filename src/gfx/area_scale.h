#pragma once
// Scaling a picture down for display: each destination pixel takes the mean of the source area
// it covers, so fine detail fades to its average instead of aliasing. An axis that is not
// shrunk keeps the nearest-sample rule of the plain stretch, pixel for pixel.
#include <cstdint>

#include "gfx/bitmap24.h"
#include "gfx/geometry.h"

namespace ss {

// Scales all of src over dst_rect of dst, clipped to dst. On an axis where dst_rect is smaller
// than src, destination pixel i of n covers the source span [i·s / n, (i + 1)·s / n) and takes
// its area-weighted mean, within ±1 of the exact mean rounded; on the other axis it takes the
// source pixel under its centre, floor((2i + 1)·s / 2n). The same on every platform: the
// vector and the portable paths compute the same integers.
void scale_area(const Bitmap24& src, Bitmap24& dst, const Rect& dst_rect);

}  // namespace ss
