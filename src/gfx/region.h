#pragma once
// A set of pixels kept as y-bands of sorted, non-overlapping x-spans. Union, intersection,
// symmetric difference and subtraction all run through one banded merge. Builders that add
// thousands of rectangles use RegionBuilder, whose cost grows with the number of spans rather
// than with the number of rectangles united one by one.
//
// The form is canonical: bands are non-empty and sorted, vertically touching bands with equal
// spans are coalesced, and spans within a band neither overlap nor touch. Two regions covering
// the same pixels therefore compare equal member by member.
#include <cstdint>
#include <span>
#include <vector>

#include "gfx/geometry.h"

namespace ss {

class Region {
 public:
  struct Span {
    int32_t left;
    int32_t right;
    friend bool operator==(const Span&, const Span&) = default;
  };
  struct Band {
    int32_t top;
    int32_t bottom;
    std::vector<Span> spans;  // sorted, non-touching, non-empty
    friend bool operator==(const Band&, const Band&) = default;
  };

  Region() = default;  // the empty region
  static Region from_rect(const Rect& r);
  // A rounded rectangle with a corner ellipse of ew × eh, covering the pixels that the
  // system's rounded-rectangle region covers: like that region it leaves out the rectangle's
  // last column and last row, clamps the ellipse to the (reduced) rectangle and degrades to a
  // plain rectangle when the ellipse is less than 2 pixels on either axis. Within the corner
  // boxes a pixel belongs to the region when its centre lies inside or on the ellipse. Ellipse
  // axes are capped at 2^20 pixels, which keeps the arithmetic exact in 64-bit halves.
  static Region from_round_rect(const Rect& r, int32_t ew, int32_t eh);
  // A closed polygon (the last point joins the first) filled by the winding rule. A pixel
  // (x, y) is inside when the winding number at its centre (x + 0.5, y + 0.5) is non-zero; a
  // centre lying exactly on an edge belongs to the pixels right of that edge, so left edges
  // are included and right edges excluded. Centres never lie on horizontal edges. Vertices are
  // clamped to ±2^28 so that the edge arithmetic stays exact in 64 bits.
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

  // True when the banded invariants hold.
  bool is_valid() const;
  // Aborts with a message when the invariants are broken; a no-op in release builds. Every
  // operation runs it on its result in debug builds.
  void self_check() const;

 private:
  friend class RegionBuilder;
  std::vector<Band> bands_;  // sorted by top, non-overlapping, adjacent equal bands coalesced
};

// Collects rectangles and regions and builds their union in one sweep.
class RegionBuilder {
 public:
  void add(const Rect& r);
  void add(const Region& r);
  void add(Region&& r);  // takes the region's storage instead of copying it
  // True when any rectangle was added, even an empty one: the builders' "none" result is
  // "no rectangle at all", not "no pixels".
  bool any() const { return any_; }
  Region build() const;

 private:
  static Region sweep(const std::vector<Rect>& rects, const std::vector<Region>& regions);

  bool any_ = false;
  std::vector<Rect> rects_;
  // Regions are kept whole until the build rather than split into one rectangle per span
  // here: a region of thin bands holds thousands of spans, and the build splits them into
  // working storage that is reused from one build to the next.
  std::vector<Region> regions_;
};

}  // namespace ss
