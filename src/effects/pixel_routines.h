#pragma once
// The pixel routines of the blend, rotate and roll styles. They work on rows directly.
#include <cstdint>

#include "gfx/bitmap24.h"
#include "gfx/geometry.h"
#include "gfx/region.h"

namespace ss {

// Stretch-copies src_rect of src onto dst_rect of dst, mirrored on the axes asked for. A mirrored
// axis spans one pixel more on each side (origin r + 1, extent l - 1 - (r + 1)).
void MirrorStretchDraw(Bitmap24& dst, const Rect& dst_rect, const Bitmap24& src, Rect src_rect,
                       bool mirror_left_right, bool mirror_top_bottom,
                       const Region* clip = nullptr);

// dst := dst·(100 − a) div 100 + src·a div 100 per byte; both of the same size.
void BlendBitmaps(Bitmap24& dst, const Bitmap24& src, int32_t a);

// Each pixel (x, y) of dst takes src at the rotation of (x − cx, y − cy) by theta about
// (cx, cy), rounded to nearest with ties to even; pixels that map outside src keep their value.
void RotateBitmap(Bitmap24& dst, const Bitmap24& src, int32_t cx, int32_t cy, long double theta);

}  // namespace ss
