#pragma once
// Shared by the region's own translation units: appending one band to a band list in canonical
// form. Not for use outside src/base/region*.cpp.
#include <cstdint>
#include <vector>

#include "gfx/region.h"

namespace ss {

// Appends the band [top, bottom) with the given spans (sorted, non-touching), merging it into
// the last band when that one ends at top with the same spans. Empty bands are dropped.
void append_band(std::vector<Region::Band>& bands, int32_t top, int32_t bottom,
                 const std::vector<Region::Span>& spans);

}  // namespace ss
