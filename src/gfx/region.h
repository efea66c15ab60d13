#pragma once
// A set of pixels kept as one flat array of boxes in y-x bands: the boxes of a band share their
// top and bottom, lie sorted by left edge and neither overlap nor touch, and the bands follow
// each other down the y axis. The extents are kept beside the boxes, and a single rectangle is
// held by its extents alone, with no allocation. Union, intersection, symmetric difference and
// subtraction all run through one banded merge. Builders that add thousands of rectangles use
// RegionBuilder, whose cost grows with the number of boxes rather than with the number of
// rectangles united one by one.
//
// The form is canonical: bands are non-empty and sorted, vertically touching bands with equal
// columns are coalesced. Two regions covering the same pixels therefore compare equal box by
// box.
#include <cstdint>
#include <span>
#include <vector>

#include "gfx/geometry.h"

namespace ss {

class Region {
 public:
  // One band: the rows [top, bottom) and its boxes, each spanning exactly those rows.
  struct Band {
    int32_t top;
    int32_t bottom;
    std::span<const Rect> boxes;
  };
  class BandIterator {
   public:
    BandIterator(const Rect* at, const Rect* end) : at_(at), end_(end) { find_end(); }
    Band operator*() const {
      return {at_->top, at_->bottom, {at_, static_cast<size_t>(band_end_ - at_)}};
    }
    BandIterator& operator++() {
      at_ = band_end_;
      find_end();
      return *this;
    }
    bool operator==(const BandIterator& o) const { return at_ == o.at_; }

   private:
    void find_end() {
      band_end_ = at_;
      while (band_end_ != end_ && band_end_->top == at_->top) ++band_end_;
    }
    const Rect* at_;
    const Rect* end_;
    const Rect* band_end_;
  };
  struct Bands {
    std::span<const Rect> boxes;
    BandIterator begin() const { return {boxes.data(), boxes.data() + boxes.size()}; }
    BandIterator end() const { return {boxes.data() + boxes.size(), boxes.data() + boxes.size()}; }
  };

  Region() = default;  // the empty region
  Region(const Region& o);
  Region(Region&& o) noexcept;
  Region& operator=(const Region& o);
  Region& operator=(Region&& o) noexcept;
  ~Region();

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

  bool empty() const { return extents_.empty(); }
  Rect bounds() const { return extents_; }
  bool contains(int32_t x, int32_t y) const;
  size_t span_count() const { return boxes().size(); }
  // All boxes, band after band; a single rectangle is one box.
  std::span<const Rect> boxes() const {
    if (!boxes_.empty()) return boxes_;
    if (extents_.empty()) return {};
    return {&extents_, 1};
  }
  Bands bands() const { return {boxes()}; }

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
  friend class BandWriter;
  // Takes boxes in canonical form, whose columns run from left to right, as the region's
  // storage, or gives it back to the spare storage when they are a single rectangle or none.
  void adopt(std::vector<Rect>&& boxes, int32_t left, int32_t right);

  Rect extents_{};           // empty for the empty region
  std::vector<Rect> boxes_;  // empty when the region is empty or one rectangle
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
  // Regions are kept whole until the build rather than split into one rectangle per box
  // here: a region of thin bands holds thousands of boxes, and the build splits them into
  // working storage that is reused from one build to the next.
  std::vector<Region> regions_;
};

}  // namespace ss
