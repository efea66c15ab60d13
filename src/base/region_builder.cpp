#include <algorithm>

#include "base/region.h"
#include "base/region_bands.h"

namespace ss {

void RegionBuilder::add(const Rect& r) {
  any_ = true;
  if (!r.empty()) rects_.push_back(r);
}

void RegionBuilder::add(const Region& r) {
  any_ = true;
  for (const Region::Band& band : r.bands())
    for (const Region::Span& span : band.spans)
      rects_.push_back({span.left, band.top, span.right, band.bottom});
}

// One sweep down the y axis: the rows are cut at every top and bottom edge, and each piece
// merges the x-intervals of the rectangles active in it. The work per piece grows with the
// rectangles that cover it, so the whole build grows with the spans of the result rather than
// with the square of the rectangle count.
Region RegionBuilder::build() const {
  Region out;
  if (rects_.empty()) return out;

  std::vector<Rect> by_top = rects_;
  std::sort(by_top.begin(), by_top.end(),
            [](const Rect& a, const Rect& b) { return a.top < b.top; });
  std::vector<int32_t> cuts;
  cuts.reserve(by_top.size() * 2);
  for (const Rect& r : by_top) {
    cuts.push_back(r.top);
    cuts.push_back(r.bottom);
  }
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

  std::vector<Rect> active;
  std::vector<Region::Span> intervals;
  std::vector<Region::Span> spans;
  size_t next = 0;
  for (size_t k = 0; k + 1 < cuts.size(); ++k) {
    const int32_t y = cuts[k];
    std::erase_if(active, [y](const Rect& r) { return r.bottom <= y; });
    while (next < by_top.size() && by_top[next].top <= y) active.push_back(by_top[next++]);
    if (active.empty()) continue;

    intervals.clear();
    for (const Rect& r : active) intervals.push_back({r.left, r.right});
    std::sort(intervals.begin(), intervals.end(),
              [](const Region::Span& a, const Region::Span& b) { return a.left < b.left; });
    spans.clear();
    for (const Region::Span& s : intervals) {
      if (!spans.empty() && s.left <= spans.back().right) {
        spans.back().right = std::max(spans.back().right, s.right);
      } else {
        spans.push_back(s);
      }
    }
    append_band(out.bands_, y, cuts[k + 1], spans);
  }
  out.self_check();
  return out;
}

}  // namespace ss
