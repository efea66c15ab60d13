#include "effects/frame_geometry.h"

#include <utility>

#include "base/muldiv.h"

namespace ss {

FrameGeometry ComputeFrameGeometry(int32_t W, int32_t H, int32_t p, int32_t step) {
  FrameGeometry g;
  g.W = W;
  g.H = H;
  const bool wide = W >= H;
  g.L = wide ? W : H;
  g.M = wide ? H : W;
  g.Lp = MulDiv(g.L, p, 100);
  // An empty image has no longer side to scale by; MulDiv would answer -1 there.
  g.Mp = g.L == 0 ? 0 : MulDiv(g.Lp, g.M, g.L);
  g.X = wide ? g.Lp : g.Mp;
  g.Y = wide ? g.Mp : g.Lp;
  g.G = MulDiv(g.L, step, 90);
  return g;
}

FrameGeometry Transposed(const FrameGeometry& g) {
  FrameGeometry t = g;
  std::swap(t.W, t.H);
  std::swap(t.X, t.Y);
  return t;
}

}  // namespace ss
