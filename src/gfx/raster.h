#pragma once
// The drawing primitives on our 24-bit bitmaps. Everything clips to the destination and, where a
// region is given, to that region (in destination coordinates). No smoothing anywhere. Source
// and destination are always different bitmaps.
#include "gfx/bitmap24.h"
#include "gfx/color.h"
#include "gfx/geometry.h"
#include "gfx/region.h"

namespace ss {

// Fills r (clipped to the bitmap and to clip, when given) with one colour.
void fill(Bitmap24& dst, const Rect& r, Color color, const Region* clip = nullptr);

// Copies all of src onto dst with its top-left corner at (x, y).
void draw(Bitmap24& dst, int32_t x, int32_t y, const Bitmap24& src, const Region* clip = nullptr);

// Stretch-copies the source rectangle src_rect onto the destination given by origin (dx, dy) and
// extent (dw, dh), by nearest sample: pixel i of an extent n, counted from the origin, takes
// source pixel src_rect.left + floor((i + 1/2)·width / n) (likewise for rows). A negative extent
// mirrors that axis: it covers the half-open span between origin + extent and origin, and its
// pixel next to the origin takes the first source pixel. An empty source or a zero extent draws
// nothing; destination pixels whose sample falls outside src keep their value.
void stretch_copy(Bitmap24& dst, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                  const Bitmap24& src, const Rect& src_rect, const Region* clip = nullptr);

// The common form: stretch src_rect of src over dst_rect of dst.
inline void stretch_copy(Bitmap24& dst, const Rect& dst_rect, const Bitmap24& src,
                         const Rect& src_rect, const Region* clip = nullptr) {
  stretch_copy(dst, dst_rect.left, dst_rect.top, dst_rect.width(), dst_rect.height(), src, src_rect,
               clip);
}

}  // namespace ss
