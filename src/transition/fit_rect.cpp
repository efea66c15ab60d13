#include "transition/fit_rect.h"

#include <cstdint>

#include "base/muldiv.h"

namespace ss {

Rect FitRect(const Rect& image, const Rect& target) {
  const int32_t w = image.width();
  const int32_t h = image.height();
  const int32_t tw = target.width();
  const int32_t th = target.height();
  if (w <= 0 || h <= 0) return {target.left, target.top, target.left, target.top};

  // th / h > tw / w, compared exactly by cross-multiplying (all sides positive).
  int32_t rw;
  int32_t rh;
  if (static_cast<int64_t>(th) * w > static_cast<int64_t>(tw) * h) {
    rw = tw;
    rh = MulDiv(h, tw, w);
  } else {
    rw = MulDiv(w, th, h);
    rh = th;
  }
  const int32_t left = target.left + idiv(tw - rw, 2);
  const int32_t top = target.top + idiv(th - rh, 2);
  return {left, top, left + rw, top + rh};
}

}  // namespace ss
