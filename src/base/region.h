#pragma once
// A set of pixels kept as y-bands of sorted, non-overlapping x-spans (the banded form of the
// X server's regions). Union, intersection and symmetric difference run through one banded
// merge. Builders that add thousands of rectangles use RegionBuilder, whose cost grows with the
// number of spans rather than with the number of rectangles united one by one.
#include <cstdint>
#include <span>
#include <vector>

#include "base/geometry.h"

namespace ss {

class Region {
 public:
  struct Span {
    int32_t left;
    int32_t right;
  };
  struct Band {
    int32_t top;
    int32_t bottom;
    std::vector<Span> spans;  // sorted, non-touching, non-empty
  };

  Region() = default;  // the empty region
  static Region from_rect(const Rect& r);
  // A rounded rectangle with a corner ellipse of ew × eh, covering the pixels that the
  // system's rounded-rectangle region covers.
  static Region from_round_rect(const Rect& r, int32_t ew, int32_t eh);
  // A closed polygon filled by the winding rule.
  static Region from_polygon(std::span<const Point> points);

  bool empty() const { return bands_.empty(); }
  Rect bounds() const;
  bool contains(int32_t x, int32_t y) const;
  size_t span_count() const;
  const std::vector<Band>& bands() const { return bands_; }

  Region united(const Region& o) const;
  Region intersected(const Region& o) const;
  Region xored(const Region& o) const;
  Region subtracted(const Region& o) const;
  Region offset(int32_t dx, int32_t dy) const;

  friend bool operator==(const Region& a, const Region& b);

  // Checks the banded invariants; a no-op in release builds.
  void self_check() const;

 private:
  friend class RegionBuilder;
  std::vector<Band> bands_;  // sorted by top, non-overlapping, adjacent equal bands coalesced
};

// Collects rectangles and builds their union in one sweep.
class RegionBuilder {
 public:
  void add(const Rect& r);
  void add(const Region& r);
  // True when any rectangle was added, even an empty one: the builders' "none" result is
  // "no rectangle at all", not "no pixels".
  bool any() const { return any_; }
  Region build() const;

 private:
  bool any_ = false;
  std::vector<Rect> rects_;
};

}  // namespace ss
