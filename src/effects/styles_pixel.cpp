// The pixel styles 118..122: a cross-fade and four rotations of the new image into place.
// They write the screen bitmap directly and need no finishing step.
#include <numbers>

#include "effects/pixel_routines.h"
#include "effects/style_table.h"

namespace ss {
namespace {

constexpr StyleFamily kPixel = StyleFamily::kPixel;

// A quarter turn at p = 0, none at p = 100, in extended precision.
long double rotation_angle(int32_t p) {
  return static_cast<long double>(100 - p) * std::numbers::pi_v<long double> / 200;
}

// Rotates about a point one pixel outside a corner, so that the new image's own corner pixel
// swings in as well.
void rotate_about(FrameCtx& f, int32_t cx, int32_t cy) {
  RotateBitmap(f.screen(), f.new_image(), cx, cy, rotation_angle(f.p));
}

constexpr StyleRow kRows[] = {
    // 118 blend
    {kPixel, [](FrameCtx& f) { BlendBitmaps(f.screen(), f.new_image(), f.p); }},
    // 119 rotate about the top-left corner
    {kPixel, [](FrameCtx& f) { rotate_about(f, -1, -1); }},
    // 120 rotate about the bottom-left corner
    {kPixel, [](FrameCtx& f) { rotate_about(f, -1, f.H); }},
    // 121 rotate about the top-right corner
    {kPixel, [](FrameCtx& f) { rotate_about(f, f.W, -1); }},
    // 122 rotate about the bottom-right corner
    {kPixel, [](FrameCtx& f) { rotate_about(f, f.W, f.H); }},
};

}  // namespace

std::span<const StyleRow> PixelStyleRows() {
  return kRows;
}

}  // namespace ss
