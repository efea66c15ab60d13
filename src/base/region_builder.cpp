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

namespace {

// A rectangle while the sweep is inside it: its columns and the row where it ends.
struct Active {
  int32_t left;
  int32_t right;
  int32_t bottom;
};

}  // namespace

// One sweep down the y axis. The rows are cut wherever a rectangle starts or ends; the
// rectangles covering the current piece are kept ordered by left edge, so each piece costs one
// merge of the survivors with the newcomers (which arrive ordered, as the rectangles are sorted
// by top and then left) and one pass that joins overlapping intervals. Nothing is sorted per
// piece, so thousands of thin strips, whether rows or tall columns, cost time in proportion to
// the intervals the pieces hold.
Region RegionBuilder::build() const {
  Region out;
  if (rects_.empty()) return out;

  std::vector<Rect> by_top = rects_;
  std::sort(by_top.begin(), by_top.end(), [](const Rect& a, const Rect& b) {
    return a.top != b.top ? a.top < b.top : a.left < b.left;
  });
  std::vector<int32_t> bottoms(by_top.size());
  std::transform(by_top.begin(), by_top.end(), bottoms.begin(),
                 [](const Rect& r) { return r.bottom; });
  std::sort(bottoms.begin(), bottoms.end());

  std::vector<Active> active;
  std::vector<Active> kept;
  std::vector<Region::Span> spans;
  size_t next = 0;    // the first rectangle not yet entered
  size_t ended = 0;   // the first bottom not yet passed
  int32_t y = by_top.front().top;
  while (next < by_top.size() || !active.empty()) {
    // Newcomers at y, already ordered by left edge.
    size_t enter_end = next;
    while (enter_end < by_top.size() && by_top[enter_end].top == y) ++enter_end;

    kept.clear();
    spans.clear();
    auto take = [&](const Active& a) {
      kept.push_back(a);
      if (!spans.empty() && a.left <= spans.back().right) {
        spans.back().right = std::max(spans.back().right, a.right);
      } else {
        spans.push_back({a.left, a.right});
      }
    };
    size_t i = 0;
    while (i < active.size() || next < enter_end) {
      if (next == enter_end || (i < active.size() && active[i].left <= by_top[next].left)) {
        if (active[i].bottom > y) take(active[i]);
        ++i;
      } else {
        const Rect& r = by_top[next++];
        take({r.left, r.right, r.bottom});
      }
    }
    active.swap(kept);

    // The piece ends at the next top or bottom, whichever comes first.
    while (ended < bottoms.size() && bottoms[ended] <= y) ++ended;
    int32_t piece_end = ended < bottoms.size() ? bottoms[ended] : y;
    if (next < by_top.size()) piece_end = std::min(piece_end, by_top[next].top);
    if (active.empty()) {
      y = piece_end;  // a gap between rectangles: nothing to emit
      continue;
    }
    append_band(out.bands_, y, piece_end, spans);
    y = piece_end;
  }
  out.self_check();
  return out;
}

}  // namespace ss
