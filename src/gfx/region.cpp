#include "gfx/region.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>

#include "gfx/region_bands.h"

namespace ss {
namespace {

// ---- Spare box storage ----

// A few buffers are kept per thread: a frame holds at most a handful of large regions at once
// (two operands and their result), and the next frame needs as many again.
constexpr size_t kSpareBuffers = 4;
// Below 64 KiB the allocator serves blocks from memory it keeps anyway; it is the larger ones
// that come as fresh pages.
constexpr size_t kSmallestKept = 4096;            // boxes
constexpr size_t kLargestKept = size_t{1} << 19;  // boxes (8 MiB); one huge region is not held

struct SpareStorage {
  std::vector<Rect> buffers[kSpareBuffers];
  size_t count = 0;
  ~SpareStorage();
};

// Regions that outlive the thread's storage (statics destroyed after it) free their own boxes.
thread_local bool spare_storage_gone = false;
thread_local SpareStorage spare_storage;

SpareStorage::~SpareStorage() {
  spare_storage_gone = true;
}

}  // namespace

std::vector<Rect> take_box_storage(size_t boxes) {
  if (spare_storage_gone) return {};
  SpareStorage& s = spare_storage;
  if (s.count == 0) return {};
  // The smallest buffer that holds them all, or else the largest.
  size_t best = 0;
  for (size_t i = 1; i < s.count; ++i) {
    const size_t have = s.buffers[i].capacity();
    const size_t best_have = s.buffers[best].capacity();
    const bool fits = have >= boxes;
    const bool best_fits = best_have >= boxes;
    if (fits ? !best_fits || have < best_have : !best_fits && have > best_have) best = i;
  }
  std::vector<Rect> out = std::move(s.buffers[best]);
  s.buffers[best] = std::move(s.buffers[--s.count]);
  return out;
}

void give_box_storage(std::vector<Rect>&& boxes) {
  const size_t capacity = boxes.capacity();
  if (capacity < kSmallestKept || capacity > kLargestKept || spare_storage_gone) return;
  SpareStorage& s = spare_storage;
  if (s.count < kSpareBuffers) {
    s.buffers[s.count++] = std::move(boxes);
    return;
  }
  size_t smallest = 0;
  for (size_t i = 1; i < s.count; ++i)
    if (s.buffers[i].capacity() < s.buffers[smallest].capacity()) smallest = i;
  if (s.buffers[smallest].capacity() < capacity) s.buffers[smallest] = std::move(boxes);
}

void BandWriter::close() {
  const size_t n = boxes_.size() - band_start_;
  if (n == 0 || bottom_ <= top_) {
    boxes_.resize(band_start_);
    return;
  }
  if (has_last_band_ && band_start_ - last_band_ == n && boxes_[last_band_].bottom == top_) {
    bool same = true;
    for (size_t k = 0; k < n && same; ++k) {
      const Rect& above = boxes_[last_band_ + k];
      const Rect& here = boxes_[band_start_ + k];
      same = above.left == here.left && above.right == here.right;
    }
    if (same) {
      for (size_t k = last_band_; k < band_start_; ++k) boxes_[k].bottom = bottom_;
      boxes_.resize(band_start_);
      return;
    }
  }
  left_ = has_last_band_ ? std::min(left_, boxes_[band_start_].left) : boxes_[band_start_].left;
  right_ = has_last_band_ ? std::max(right_, boxes_.back().right) : boxes_.back().right;
  last_band_ = band_start_;
  has_last_band_ = true;
}

Region BandWriter::finish() {
  Region out;
  // A small result does not keep a large spare buffer to itself.
  if (boxes_.size() > 1 && boxes_.capacity() >= kSmallestKept &&
      (boxes_.size() < kSmallestKept || boxes_.size() < boxes_.capacity() / 4)) {
    std::vector<Rect> exact(boxes_.begin(), boxes_.end());
    give_box_storage(std::move(boxes_));
    out.adopt(std::move(exact), left_, right_);
  } else {
    out.adopt(std::move(boxes_), left_, right_);
  }
  return out;
}

void Region::adopt(std::vector<Rect>&& boxes, int32_t left, int32_t right) {
  give_box_storage(std::move(boxes_));
  boxes_.clear();
  if (boxes.empty()) {
    extents_ = {};
    give_box_storage(std::move(boxes));
    return;
  }
  extents_ = {left, boxes.front().top, right, boxes.back().bottom};
  if (boxes.size() == 1) {
    give_box_storage(std::move(boxes));
    return;
  }
  boxes_ = std::move(boxes);
}

Region::Region(const Region& o) : extents_(o.extents_) {
  if (o.boxes_.empty()) return;
  if (o.boxes_.size() >= kSmallestKept) boxes_ = take_box_storage(o.boxes_.size());
  boxes_.assign(o.boxes_.begin(), o.boxes_.end());
}

Region::Region(Region&& o) noexcept
    : extents_(std::exchange(o.extents_, Rect{})), boxes_(std::move(o.boxes_)) {
  o.boxes_.clear();
}

Region& Region::operator=(const Region& o) {
  if (this == &o) return *this;
  extents_ = o.extents_;
  if (o.boxes_.empty()) {
    give_box_storage(std::move(boxes_));
    boxes_.clear();
  } else {
    boxes_.assign(o.boxes_.begin(), o.boxes_.end());
  }
  return *this;
}

Region& Region::operator=(Region&& o) noexcept {
  if (this == &o) return *this;
  give_box_storage(std::move(boxes_));
  extents_ = std::exchange(o.extents_, Rect{});
  boxes_ = std::move(o.boxes_);
  o.boxes_.clear();
  return *this;
}

Region::~Region() {
  give_box_storage(std::move(boxes_));
}

namespace {

enum class SetOp { kUnion, kIntersect, kXor, kSubtract };

constexpr bool keeps(SetOp op, bool in_a, bool in_b) {
  switch (op) {
    case SetOp::kUnion:
      return in_a || in_b;
    case SetOp::kIntersect:
      return in_a && in_b;
    case SetOp::kXor:
      return in_a != in_b;
    case SetOp::kSubtract:
      return in_a && !in_b;
  }
  return false;
}

// The boxes [begin, end) of one band, or none.
struct BandRange {
  const Rect* begin = nullptr;
  const Rect* end = nullptr;
  size_t size() const { return static_cast<size_t>(end - begin); }
};

// Boundary k of a band: even k is the left edge of box k / 2, odd k its right edge.
int32_t boundary(const BandRange& band, size_t k) {
  const Rect& s = band.begin[k / 2];
  return (k & 1) ? s.right : s.left;
}

// Merges the columns of one band of each operand. Walking the boundaries of both bands in x
// order keeps track of whether we are inside each operand; a boundary shared by both is taken
// in one step, so the output boxes never touch.
void merge_columns(const BandRange& a, const BandRange& b, SetOp op, BandWriter& out) {
  const size_t na = a.size() * 2;
  const size_t nb = b.size() * 2;
  size_t ka = 0;
  size_t kb = 0;
  bool inside = false;
  int32_t start = 0;
  while (ka < na || kb < nb) {
    int32_t x;
    if (kb >= nb) {
      x = boundary(a, ka);
    } else if (ka >= na) {
      x = boundary(b, kb);
    } else {
      x = std::min(boundary(a, ka), boundary(b, kb));
    }
    if (ka < na && boundary(a, ka) == x) ++ka;
    if (kb < nb && boundary(b, kb) == x) ++kb;
    const bool now = keeps(op, ka & 1, kb & 1);
    if (now == inside) continue;
    if (now) {
      start = x;
    } else {
      out.add(start, x);
    }
    inside = now;
  }
}

// Walks the bands of one operand.
class BandCursor {
 public:
  explicit BandCursor(std::span<const Rect> boxes)
      : at_(boxes.data()), end_(boxes.data() + boxes.size()) {
    find_band_end();
  }
  bool done() const { return at_ == end_; }
  int32_t top() const { return at_->top; }
  int32_t bottom() const { return at_->bottom; }
  BandRange band() const { return {at_, band_end_}; }
  void next() {
    at_ = band_end_;
    find_band_end();
  }

 private:
  void find_band_end() {
    band_end_ = at_;
    while (band_end_ != end_ && band_end_->top == at_->top) ++band_end_;
  }
  const Rect* at_;
  const Rect* end_;
  const Rect* band_end_;
};

// The banded merge behind every set operation: the y axis is cut wherever a band of either
// operand starts or ends, and each piece merges the columns that cover it.
Region combine(const Region& a, const Region& b, SetOp op) {
  constexpr int64_t kNever = std::numeric_limits<int64_t>::max();
  BandWriter out(a.span_count() + b.span_count());
  BandCursor ca(a.boxes());
  BandCursor cb(b.boxes());
  int64_t y = std::numeric_limits<int64_t>::min();
  while (!ca.done() || !cb.done()) {
    const int64_t top_a = ca.done() ? kNever : ca.top();
    const int64_t top_b = cb.done() ? kNever : cb.top();
    y = std::max(y, std::min(top_a, top_b));  // skips rows where neither operand has a band
    const bool in_a = !ca.done() && top_a <= y;
    const bool in_b = !cb.done() && top_b <= y;
    const int64_t next = std::min(in_a ? ca.bottom() : top_a, in_b ? cb.bottom() : top_b);
    // Rows covered by only one operand cannot add to an intersection, nor rows without the
    // left operand to a difference.
    const bool may_keep = op == SetOp::kIntersect  ? in_a && in_b
                          : op == SetOp::kSubtract ? in_a
                                                   : true;
    if (may_keep) {
      out.open(static_cast<int32_t>(y), static_cast<int32_t>(next));
      merge_columns(in_a ? ca.band() : BandRange{}, in_b ? cb.band() : BandRange{}, op, out);
      out.close();
    }
    y = next;
    if (!ca.done() && ca.bottom() <= y) ca.next();
    if (!cb.done() && cb.bottom() <= y) cb.next();
  }
  Region result = out.finish();
  result.self_check();
  return result;
}

// Two rectangles whose union is one rectangle: the same columns and touching or overlapping
// rows, or the same rows and touching or overlapping columns.
bool union_is_rect(const Rect& a, const Rect& b) {
  if (a.left == b.left && a.right == b.right) return a.top <= b.bottom && b.top <= a.bottom;
  if (a.top == b.top && a.bottom == b.bottom) return a.left <= b.right && b.left <= a.right;
  return false;
}

bool covers(const Rect& outer, const Rect& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
         outer.bottom >= inner.bottom;
}

bool is_rect(const Region& r) {
  return r.span_count() == 1;
}

}  // namespace

Region Region::from_rect(const Rect& r) {
  Region out;
  if (!r.empty()) out.extents_ = r;
  return out;
}

bool Region::contains(int32_t x, int32_t y) const {
  if (x < extents_.left || x >= extents_.right || y < extents_.top || y >= extents_.bottom)
    return false;
  if (boxes_.empty()) return true;
  // Bottoms never decrease from box to box, so the first box ending below y opens its band.
  const auto band = std::upper_bound(boxes_.begin(), boxes_.end(), y,
                                     [](int32_t v, const Rect& b) { return v < b.bottom; });
  if (band == boxes_.end() || y < band->top) return false;
  auto band_end = band;
  while (band_end != boxes_.end() && band_end->top == band->top) ++band_end;
  const auto box =
      std::upper_bound(band, band_end, x, [](int32_t v, const Rect& b) { return v < b.right; });
  return box != band_end && x >= box->left;
}

Region Region::united(const Region& o) const {
  if (o.empty()) return *this;
  if (empty()) return o;
  if (is_rect(*this) && covers(extents_, o.extents_)) return *this;
  if (is_rect(o) && covers(o.extents_, extents_)) return o;
  if (is_rect(*this) && is_rect(o) && union_is_rect(extents_, o.extents_)) {
    return from_rect(
        {std::min(extents_.left, o.extents_.left), std::min(extents_.top, o.extents_.top),
         std::max(extents_.right, o.extents_.right), std::max(extents_.bottom, o.extents_.bottom)});
  }
  return combine(*this, o, SetOp::kUnion);
}

Region Region::intersected(const Region& o) const {
  if (empty() || o.empty() || extents_.intersect(o.extents_).empty()) return {};
  if (is_rect(*this) && is_rect(o)) return from_rect(extents_.intersect(o.extents_));
  if (is_rect(*this) && covers(extents_, o.extents_)) return o;
  if (is_rect(o) && covers(o.extents_, extents_)) return *this;
  return combine(*this, o, SetOp::kIntersect);
}

Region Region::xored(const Region& o) const {
  if (o.empty()) return *this;
  if (empty()) return o;
  return combine(*this, o, SetOp::kXor);
}

Region Region::subtracted(const Region& o) const {
  if (empty() || o.empty() || extents_.intersect(o.extents_).empty()) return *this;
  return combine(*this, o, SetOp::kSubtract);
}

Region Region::offset(int32_t dx, int32_t dy) const {
  if (empty()) return {};
  Region out = *this;
  out.extents_ = out.extents_.offset(dx, dy);
  for (Rect& box : out.boxes_) box = box.offset(dx, dy);
  return out;
}

bool operator==(const Region& a, const Region& b) {
  return a.extents_ == b.extents_ && a.boxes_ == b.boxes_;
}

bool Region::is_valid() const {
  if (boxes_.empty()) return true;  // empty, or one rectangle held by its extents
  if (boxes_.size() == 1) return false;
  Rect seen{boxes_.front().left, boxes_.front().top, boxes_.front().right, boxes_.back().bottom};
  const Rect* above = nullptr;  // the band above, if any
  size_t above_size = 0;
  for (size_t i = 0; i < boxes_.size();) {
    size_t end = i;
    while (end < boxes_.size() && boxes_[end].top == boxes_[i].top) ++end;
    const Rect* band = &boxes_[i];
    const size_t n = end - i;
    for (size_t k = 0; k < n; ++k) {
      const Rect& b = band[k];
      if (b.left >= b.right || b.bottom != band[0].bottom || b.top >= b.bottom) return false;
      if (k > 0 && band[k - 1].right >= b.left) return false;
    }
    seen.left = std::min(seen.left, band[0].left);
    seen.right = std::max(seen.right, band[n - 1].right);
    if (above) {
      if (above[0].bottom > band[0].top) return false;
      if (above[0].bottom == band[0].top && above_size == n) {
        bool same = true;
        for (size_t k = 0; k < n && same; ++k)
          same = above[k].left == band[k].left && above[k].right == band[k].right;
        if (same) return false;
      }
    }
    above = band;
    above_size = n;
    i = end;
  }
  return seen == extents_;
}

void Region::self_check() const {
#ifndef NDEBUG
  if (!is_valid()) {
    std::fprintf(stderr, "Region::self_check: banded invariants broken (%zu boxes)\n",
                 boxes_.size());
    std::abort();
  }
#endif
}

}  // namespace ss
