#pragma once
// The clip-region builders of the bar, ragged-bar, scatter-bar, dissolve and triangle styles.
// Each returns no region (nullopt) when it produced no rectangle at all. The jittered builders
// draw from the process-wide generator in a fixed order (left operand before right, loops in
// order), so a run reproduces the same frames. All arithmetic is 32-bit signed, div truncates.
#include <cstdint>
#include <optional>

#include "gfx/geometry.h"
#include "gfx/region.h"

namespace ss {

// A: horizontal reach (columns), B: vertical reach (rows), W × H: the image, G: snap margin;
// h and v: the bar kind on each axis, 0 for none.
std::optional<Region> CreateBarRegion(int32_t A, int32_t B, int32_t W, int32_t H, int32_t G,
                                      int32_t h, int32_t v);
std::optional<Region> CreateRaggedBarRegion(int32_t A, int32_t B, int32_t W, int32_t H, int32_t h,
                                            int32_t v);
std::optional<Region> CreateScatterBarRegion(int32_t A, int32_t B, int32_t W, int32_t H,
                                             int32_t h, int32_t v);
std::optional<Region> CreateDissolveRegion(int32_t W, int32_t H, int32_t p);
Region CreateTriangleRegion(Point p0, Point p1, Point p2);

}  // namespace ss
