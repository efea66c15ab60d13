#include "gfx/region.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "gfx/region_bands.h"

namespace ss {
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

// Boundary k of a span list: even k is the left edge of span k / 2, odd k its right edge.
int32_t boundary(const std::vector<Region::Span>& spans, size_t k) {
  const Region::Span& s = spans[k / 2];
  return (k & 1) ? s.right : s.left;
}

// Merges the spans of one band of each operand. Walking the boundaries of both lists in x order
// keeps track of whether we are inside each operand; a boundary shared by both is taken in one
// step, so the output spans never touch.
void merge_spans(const std::vector<Region::Span>& a, const std::vector<Region::Span>& b, SetOp op,
                 std::vector<Region::Span>& out) {
  out.clear();
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
      out.push_back({start, x});
    }
    inside = now;
  }
}

// The banded merge behind every set operation: the y axis is cut wherever a band of either
// operand starts or ends, and each piece merges the spans that cover it.
void combine(const std::vector<Region::Band>& a, const std::vector<Region::Band>& b, SetOp op,
             std::vector<Region::Band>& out) {
  static const std::vector<Region::Span> kNoSpans;
  constexpr int64_t kNever = std::numeric_limits<int64_t>::max();
  std::vector<Region::Span> spans;
  out.reserve(a.size() + b.size());  // most results have no more bands than both operands
  size_t ia = 0;
  size_t ib = 0;
  int64_t y = std::numeric_limits<int64_t>::min();
  while (ia < a.size() || ib < b.size()) {
    const Region::Band* ba = ia < a.size() ? &a[ia] : nullptr;
    const Region::Band* bb = ib < b.size() ? &b[ib] : nullptr;
    const int64_t top_a = ba ? ba->top : kNever;
    const int64_t top_b = bb ? bb->top : kNever;
    y = std::max(y, std::min(top_a, top_b));  // skips rows where neither operand has a band
    const bool in_a = ba && ba->top <= y;
    const bool in_b = bb && bb->top <= y;
    const int64_t next = std::min(in_a ? ba->bottom : top_a, in_b ? bb->bottom : top_b);
    // Rows covered by only one operand cannot add to an intersection, nor rows without the
    // left operand to a difference.
    const bool may_keep = op == SetOp::kIntersect  ? in_a && in_b
                          : op == SetOp::kSubtract ? in_a
                                                   : true;
    if (may_keep) {
      merge_spans(in_a ? ba->spans : kNoSpans, in_b ? bb->spans : kNoSpans, op, spans);
      append_band(out, static_cast<int32_t>(y), static_cast<int32_t>(next), spans);
    }
    y = next;
    if (ba && ba->bottom <= y) ++ia;
    if (bb && bb->bottom <= y) ++ib;
  }
}

}  // namespace

void append_band(std::vector<Region::Band>& bands, int32_t top, int32_t bottom,
                 const std::vector<Region::Span>& spans) {
  if (spans.empty() || bottom <= top) return;
  if (!bands.empty() && bands.back().bottom == top && bands.back().spans == spans) {
    bands.back().bottom = bottom;
    return;
  }
  bands.push_back({top, bottom, spans});
}

Region Region::from_rect(const Rect& r) {
  Region out;
  if (!r.empty()) out.bands_.push_back({r.top, r.bottom, {{r.left, r.right}}});
  return out;
}

Rect Region::bounds() const {
  if (bands_.empty()) return {};
  Rect r{bands_.front().spans.front().left, bands_.front().top, bands_.front().spans.back().right,
         bands_.back().bottom};
  for (const Band& band : bands_) {
    r.left = std::min(r.left, band.spans.front().left);
    r.right = std::max(r.right, band.spans.back().right);
  }
  return r;
}

bool Region::contains(int32_t x, int32_t y) const {
  const auto band = std::upper_bound(bands_.begin(), bands_.end(), y,
                                     [](int32_t v, const Band& b) { return v < b.bottom; });
  if (band == bands_.end() || y < band->top) return false;
  const auto span = std::upper_bound(band->spans.begin(), band->spans.end(), x,
                                     [](int32_t v, const Span& s) { return v < s.right; });
  return span != band->spans.end() && x >= span->left;
}

size_t Region::span_count() const {
  size_t n = 0;
  for (const Band& band : bands_) n += band.spans.size();
  return n;
}

Region Region::united(const Region& o) const {
  if (o.empty()) return *this;
  if (empty()) return o;
  Region out;
  combine(bands_, o.bands_, SetOp::kUnion, out.bands_);
  out.self_check();
  return out;
}

Region Region::intersected(const Region& o) const {
  Region out;
  if (empty() || o.empty()) return out;
  combine(bands_, o.bands_, SetOp::kIntersect, out.bands_);
  out.self_check();
  return out;
}

Region Region::xored(const Region& o) const {
  if (o.empty()) return *this;
  if (empty()) return o;
  Region out;
  combine(bands_, o.bands_, SetOp::kXor, out.bands_);
  out.self_check();
  return out;
}

Region Region::subtracted(const Region& o) const {
  if (empty() || o.empty()) return *this;
  Region out;
  combine(bands_, o.bands_, SetOp::kSubtract, out.bands_);
  out.self_check();
  return out;
}

Region Region::offset(int32_t dx, int32_t dy) const {
  Region out = *this;
  for (Band& band : out.bands_) {
    band.top += dy;
    band.bottom += dy;
    for (Span& span : band.spans) {
      span.left += dx;
      span.right += dx;
    }
  }
  return out;
}

bool operator==(const Region& a, const Region& b) {
  return a.bands_ == b.bands_;
}

bool Region::is_valid() const {
  for (size_t i = 0; i < bands_.size(); ++i) {
    const Band& band = bands_[i];
    if (band.top >= band.bottom || band.spans.empty()) return false;
    for (size_t k = 0; k < band.spans.size(); ++k) {
      if (band.spans[k].left >= band.spans[k].right) return false;
      if (k > 0 && band.spans[k - 1].right >= band.spans[k].left) return false;
    }
    if (i == 0) continue;
    const Band& above = bands_[i - 1];
    if (above.bottom > band.top) return false;
    if (above.bottom == band.top && above.spans == band.spans) return false;
  }
  return true;
}

void Region::self_check() const {
#ifndef NDEBUG
  if (!is_valid()) {
    std::fprintf(stderr, "Region::self_check: banded invariants broken (%zu bands)\n",
                 bands_.size());
    std::abort();
  }
#endif
}

}  // namespace ss
