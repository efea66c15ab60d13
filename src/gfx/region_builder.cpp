#include <algorithm>
#include <bit>
#include <cstddef>
#include <limits>
#include <utility>

#include "gfx/region.h"
#include "gfx/region_bands.h"

namespace ss {

void RegionBuilder::add(const Rect& r) {
  any_ = true;
  if (!r.empty()) rects_.push_back(r);
}

void RegionBuilder::add(const Region& r) {
  any_ = true;
  if (!r.empty()) regions_.push_back(r);
}

void RegionBuilder::add(Region&& r) {
  any_ = true;
  if (!r.empty()) regions_.push_back(std::move(r));
}

namespace {

// A rectangle while the sweep is inside it: its columns and the row where it ends.
struct Active {
  int32_t left;
  int32_t right;
  int32_t bottom;
};

struct Scratch {
  std::vector<Rect> by_top;
  std::vector<Rect> spare;
  std::vector<Active> active;
  std::vector<Active> kept;
};

// Orders by top, then left, as one unsigned 64-bit key: a comparison without branches, which
// matters when thousands of rectangles arrive in no particular order.
inline uint64_t top_left_key(const Rect& r) {
  constexpr uint32_t kSign = 0x80000000u;
  return uint64_t{static_cast<uint32_t>(r.top) ^ kSign} << 32 |
         (static_cast<uint32_t>(r.left) ^ kSign);
}

constexpr auto top_then_left = [](const Rect& a, const Rect& b) {
  return top_left_key(a) < top_left_key(b);
};

// Sorts by top and then left. The builders add thousands of rectangles in an order of their
// own, but their edges span a few thousand values, so the key (top and left relative to their
// least values, side by side) has few bits and sorts in two or three counting passes of 11
// bits. Keys of more than 44 bits are left to a comparison sort.
void sort_rects(std::vector<Rect>& rects, std::vector<Rect>& spare) {
  constexpr size_t kFewForCounting = 256;
  if (rects.size() < kFewForCounting) {
    std::sort(rects.begin(), rects.end(), top_then_left);
    return;
  }
  int64_t top_lo = rects.front().top, top_hi = top_lo;
  int64_t left_lo = rects.front().left, left_hi = left_lo;
  for (const Rect& r : rects) {
    top_lo = std::min<int64_t>(top_lo, r.top);
    top_hi = std::max<int64_t>(top_hi, r.top);
    left_lo = std::min<int64_t>(left_lo, r.left);
    left_hi = std::max<int64_t>(left_hi, r.left);
  }
  const int left_bits = std::bit_width(static_cast<uint64_t>(left_hi - left_lo));
  const int key_bits = left_bits + std::bit_width(static_cast<uint64_t>(top_hi - top_lo));
  constexpr int kDigitBits = 11;
  if (key_bits > 4 * kDigitBits) {
    std::sort(rects.begin(), rects.end(), top_then_left);
    return;
  }
  auto key = [&](const Rect& r) {
    return static_cast<uint64_t>(r.top - top_lo) << left_bits |
           static_cast<uint64_t>(r.left - left_lo);
  };
  spare.resize(rects.size());
  std::vector<uint32_t> starts(size_t{1} << kDigitBits);
  for (int shift = 0; shift < key_bits; shift += kDigitBits) {
    std::fill(starts.begin(), starts.end(), 0);
    auto digit = [&](const Rect& r) { return (key(r) >> shift) & ((1u << kDigitBits) - 1); };
    for (const Rect& r : rects) ++starts[digit(r)];
    uint32_t at = 0;
    for (uint32_t& start : starts) at += std::exchange(start, at);
    for (const Rect& r : rects) spare[starts[digit(r)]++] = r;
    rects.swap(spare);
  }
}

// All rectangles ordered by top and then left, in out (spare is working storage). A region's
// spans come in that order already, so each region is one sorted run; the loose rectangles are
// sorted into another, and the runs are merged in pairs.
void sort_by_top(const std::vector<Rect>& rects, const std::vector<Region>& regions,
                 std::vector<Rect>& out, std::vector<Rect>& spare) {
  out.assign(rects.begin(), rects.end());
  sort_rects(out, spare);
  std::vector<size_t> run_ends;
  if (!out.empty()) run_ends.push_back(out.size());
  for (const Region& region : regions) {
    const std::span<const Rect> boxes = region.boxes();
    out.insert(out.end(), boxes.begin(), boxes.end());
    run_ends.push_back(out.size());
  }
  while (run_ends.size() > 1) {
    spare.resize(out.size());
    std::vector<size_t> merged;
    size_t begin = 0;
    for (size_t k = 0; k < run_ends.size(); k += 2) {
      const size_t middle = run_ends[k];
      const size_t end = k + 1 < run_ends.size() ? run_ends[k + 1] : middle;
      std::merge(
          out.begin() + static_cast<ptrdiff_t>(begin), out.begin() + static_cast<ptrdiff_t>(middle),
          out.begin() + static_cast<ptrdiff_t>(middle), out.begin() + static_cast<ptrdiff_t>(end),
          spare.begin() + static_cast<ptrdiff_t>(begin), top_then_left);
      merged.push_back(end);
      begin = end;
    }
    out.swap(spare);
    run_ends.swap(merged);
  }
}

}  // namespace

Region RegionBuilder::build() const {
  return sweep(rects_, regions_);
}

// One sweep down the y axis. The rows are cut wherever a rectangle starts or ends; the
// rectangles covering the current piece are kept ordered by left edge, so each piece costs one
// merge of the survivors with the newcomers (which arrive ordered, as the rectangles are sorted
// by top and then left) and one pass that joins overlapping intervals and finds where the
// piece ends. Nothing is sorted per piece, so thousands of thin strips, whether rows or tall
// columns, cost time in proportion to the intervals the pieces hold.
Region RegionBuilder::sweep(const std::vector<Rect>& rects, const std::vector<Region>& regions) {
  // The working lists live on between builds: a transition builds a region every frame, and
  // fresh buffers of this size would come from new pages each time, whose first touch costs
  // more than the sweep.
  thread_local Scratch scratch;
  std::vector<Rect>& by_top = scratch.by_top;
  sort_by_top(rects, regions, by_top, scratch.spare);
  if (by_top.empty()) return {};
  BandWriter out(by_top.size());

  std::vector<Active>& active = scratch.active;
  std::vector<Active>& kept = scratch.kept;
  active.clear();
  size_t next = 0;  // the first rectangle not yet entered
  int32_t y = by_top.front().top;
  while (next < by_top.size() || !active.empty()) {
    // Newcomers at y, already ordered by left edge.
    size_t enter_end = next;
    while (enter_end < by_top.size() && by_top[enter_end].top == y) ++enter_end;

    kept.clear();
    // Columns go to the writer as they come; the band's rows are known once it ends.
    out.open(y, y);
    int32_t first_bottom = std::numeric_limits<int32_t>::max();
    size_t i = 0;
    while (i < active.size() || next < enter_end) {
      Active a;
      if (next == enter_end || (i < active.size() && active[i].left <= by_top[next].left)) {
        a = active[i++];
        if (a.bottom <= y) continue;  // ended at y
      } else {
        const Rect& r = by_top[next++];
        a = {r.left, r.right, r.bottom};
      }
      kept.push_back(a);
      first_bottom = std::min(first_bottom, a.bottom);
      out.add(a.left, a.right);
    }
    active.swap(kept);

    if (active.empty()) {  // a gap between rectangles: nothing to emit
      out.close();
      if (next < by_top.size()) y = by_top[next].top;
      continue;
    }
    // The piece ends where the next rectangle starts or the first one covering it ends.
    const int32_t piece_end =
        next < by_top.size() ? std::min(first_bottom, by_top[next].top) : first_bottom;
    out.set_rows(y, piece_end);
    out.close();
    y = piece_end;
  }
  // One uncommonly large build should not hold its memory for the rest of the run.
  constexpr size_t kKeepAtMost = size_t{1} << 20;
  if (by_top.capacity() > kKeepAtMost || scratch.spare.capacity() > kKeepAtMost)
    scratch = Scratch{};
  Region result = out.finish();
  result.self_check();
  return result;
}

}  // namespace ss
