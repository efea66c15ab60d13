#pragma once
// Readable test failures: a region prints as its bands.
#include <ostream>

#include "gfx/region.h"

namespace ss {

inline void PrintTo(const Region& r, std::ostream* os) {
  *os << "{";
  for (const Region::Band& band : r.bands()) {
    *os << " [" << band.top << "," << band.bottom << "):";
    for (const Rect& s : band.boxes) *os << " " << s.left << ".." << s.right;
  }
  *os << " }";
}

}  // namespace ss
