#pragma once
// The reach values of one transition frame. Every style measures its rectangles in these: X and
// Y grow from 0 to the image's width and height in proportion to each other as the progress
// runs from 0 to 100, so a frame's shape follows the picture's aspect.
#include <cstdint>

namespace ss {

struct FrameGeometry {
  int32_t W = 0;   // image width
  int32_t H = 0;   // image height
  int32_t L = 0;   // the longer side
  int32_t M = 0;   // the other side
  int32_t Lp = 0;  // MulDiv(L, p, 100)
  int32_t Mp = 0;  // MulDiv(Lp, M, L)
  int32_t X = 0;   // horizontal reach: Lp on a wide image, Mp on a tall one
  int32_t Y = 0;   // vertical reach
  int32_t G = 0;   // snap margin of the bar styles, MulDiv(L, step, 90)
};

// The values for a W × H image at progress p (0..100) with the control's Step.
FrameGeometry ComputeFrameGeometry(int32_t W, int32_t H, int32_t p, int32_t step);

// The same frame seen with the axes exchanged: the vertical styles run their horizontal
// twins on this.
FrameGeometry Transposed(const FrameGeometry& g);

}  // namespace ss
