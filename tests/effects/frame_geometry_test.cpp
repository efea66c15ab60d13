#include "effects/frame_geometry.h"

#include <gtest/gtest.h>

namespace ss {
namespace {

struct ReachCase {
  int32_t W, H, p, step;
  int32_t X, Y, G;
};

TEST(FrameGeometry, ReachFollowsTheLongerSide) {
  const ReachCase cases[] = {
      {400, 300, 50, 4, 200, 150, 18},  // wide: X = Lp, Y = Mp
      {300, 400, 50, 4, 150, 200, 18},  // tall: the axes swap roles
      {400, 300, 0, 4, 0, 0, 18},
      {400, 300, 100, 4, 400, 300, 18},
      {300, 400, 100, 4, 300, 400, 18},
      {300, 400, 33, 4, 99, 132, 18},  // Y = MulDiv(400, 33, 100) = 132, X = MulDiv(132, 300, 400)
      {640, 480, 1, 100, 6, 5, 711},   // Mp = MulDiv(6, 480, 640) = 4.5 rounds away from zero
      {100, 100, 37, 1, 37, 37, 1},
      {7, 3, 50, 4, 4, 2, 0},  // 3.5 rounds up to 4, then 4·3/7 = 1.71 to 2
  };
  for (const ReachCase& c : cases) {
    const FrameGeometry g = ComputeFrameGeometry(c.W, c.H, c.p, c.step);
    EXPECT_EQ(g.X, c.X) << c.W << "x" << c.H << " p=" << c.p;
    EXPECT_EQ(g.Y, c.Y) << c.W << "x" << c.H << " p=" << c.p;
    EXPECT_EQ(g.G, c.G) << c.W << "x" << c.H << " step=" << c.step;
  }
}

TEST(FrameGeometry, EmptyImageHasNoReach) {
  const FrameGeometry g = ComputeFrameGeometry(0, 0, 50, 4);
  EXPECT_EQ(g.X, 0);
  EXPECT_EQ(g.Y, 0);
}

}  // namespace
}  // namespace ss
