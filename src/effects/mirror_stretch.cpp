#include "effects/pixel_routines.h"
#include "gfx/raster.h"

namespace ss {

void MirrorStretchDraw(Bitmap24& dst, const Rect& dst_rect, const Bitmap24& src, Rect src_rect,
                       bool mirror_left_right, bool mirror_top_bottom, const Region* clip) {
  src_rect = src_rect.intersect(src.bounds());
  int32_t l = dst_rect.left;
  int32_t t = dst_rect.top;
  int32_t r = dst_rect.right;
  int32_t b = dst_rect.bottom;
  if (mirror_left_right) {
    const int32_t old_left = l;
    l = r + 1;
    r = old_left - 1;
  }
  if (mirror_top_bottom) {
    const int32_t old_top = t;
    t = b + 1;
    b = old_top - 1;
  }
  stretch_copy(dst, l, t, r - l, b - t, src, src_rect, clip);
}

}  // namespace ss
