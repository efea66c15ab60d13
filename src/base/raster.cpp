#include "base/raster.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace ss {
namespace {

// The part of [l, r) × [t, b) inside the bitmap; 64-bit so that far-off rectangles cannot wrap.
Rect clip_to(const Bitmap24& bmp, int64_t l, int64_t t, int64_t r, int64_t b) {
  l = std::max<int64_t>(l, 0);
  t = std::max<int64_t>(t, 0);
  r = std::min<int64_t>(r, bmp.width());
  b = std::min<int64_t>(b, bmp.height());
  if (r <= l || b <= t) return {};
  return {static_cast<int32_t>(l), static_cast<int32_t>(t), static_cast<int32_t>(r),
          static_cast<int32_t>(b)};
}

template <size_t N>
inline void move(uint8_t* to, const uint8_t* from) {
  std::memcpy(to, from, N);  // one unaligned load and store
}

// Copies n >= 3 bytes without touching a byte outside either range. Clipped drawing copies many
// short pieces (a bar is 15 bytes wide), so lengths up to 64 take two or four overlapping moves
// instead of a library call.
inline void copy_piece(uint8_t* to, const uint8_t* from, size_t n) {
  if (n > 64) {
    std::memcpy(to, from, n);
  } else if (n > 32) {
    move<16>(to, from);
    move<16>(to + 16, from + 16);
    move<16>(to + n - 32, from + n - 32);
    move<16>(to + n - 16, from + n - 16);
  } else if (n >= 16) {
    move<16>(to, from);
    move<16>(to + n - 16, from + n - 16);
  } else if (n >= 8) {
    move<8>(to, from);
    move<8>(to + n - 8, from + n - 8);
  } else if (n >= 4) {
    move<4>(to, from);
    move<4>(to + n - 4, from + n - 4);
  } else {
    move<2>(to, from);
    to[n - 1] = from[n - 1];
  }
}

// A clip band's spans cut to [left, right), as byte offsets and lengths in a row. Worked out
// once per band and reused for each of its rows.
struct RowPiece {
  int32_t left;
  int32_t right;
};

void clip_spans(const Region::Band& band, int32_t left, int32_t right,
                std::vector<RowPiece>& out) {
  out.clear();
  auto span = std::upper_bound(band.spans.begin(), band.spans.end(), left,
                               [](int32_t x, const Region::Span& s) { return x < s.right; });
  for (; span != band.spans.end() && span->left < right; ++span)
    out.push_back({std::max(span->left, left), std::min(span->right, right)});
}

// Calls row(y, pieces) for every row of r with the pieces of that row inside clip (all of r
// without a clip). Rows of one band share the pieces; first_in_band tells the callback whether
// the row above had the same pieces.
template <class Row>
void for_each_row(const Rect& r, const Region* clip, Row row) {
  if (r.empty()) return;
  std::vector<RowPiece> pieces;
  if (!clip) {
    pieces.push_back({r.left, r.right});
    for (int32_t y = r.top; y < r.bottom; ++y) row(y, pieces, y == r.top);
    return;
  }
  const auto& bands = clip->bands();
  auto band = std::upper_bound(bands.begin(), bands.end(), r.top,
                               [](int32_t y, const Region::Band& b) { return y < b.bottom; });
  for (; band != bands.end() && band->top < r.bottom; ++band) {
    clip_spans(*band, r.left, r.right, pieces);
    if (pieces.empty()) continue;
    const int32_t y0 = std::max(band->top, r.top);
    const int32_t y1 = std::min(band->bottom, r.bottom);
    for (int32_t y = y0; y < y1; ++y) row(y, pieces, y == y0);
  }
}

// 16 pixels of one colour: a whole number of pixels in three 16-byte moves.
struct ColorPattern {
  uint8_t bytes[48];
  explicit ColorPattern(Color c) {
    for (size_t i = 0; i < sizeof bytes; i += 3) {
      bytes[i] = color_blue(c);
      bytes[i + 1] = color_green(c);
      bytes[i + 2] = color_red(c);
    }
  }
  void fill(uint8_t* p, size_t n) const {
    for (; n >= sizeof bytes; n -= sizeof bytes, p += sizeof bytes) move<sizeof bytes>(p, bytes);
    std::memcpy(p, bytes, n);
  }
};

// ---- Stretching ----

// The destination pixels of one stretched axis that receive a source pixel, and the source
// coordinate of each. Pixel i of the extent, counted from the origin, samples the source at
// s0 + floor((i + 1/2)·sn / n): nearest sample at pixel centres. A negative extent covers the
// same half-open span as the rectangle between origin and origin + extent, but is counted from
// the origin side, which mirrors it.
struct AxisMap {
  int32_t first = 0;            // the first destination coordinate
  std::vector<int32_t> source;  // the source coordinate of first, first + 1, ...
};

AxisMap map_axis(int32_t origin, int32_t extent, int64_t s0, int64_t sn, int32_t dst_size,
                 int32_t src_size) {
  AxisMap map;
  const int64_t n = extent < 0 ? -int64_t{extent} : extent;
  const int64_t lo = std::max<int64_t>(extent < 0 ? int64_t{origin} + extent : origin, 0);
  const int64_t hi = std::min<int64_t>(extent < 0 ? origin : int64_t{origin} + extent, dst_size);
  if (n == 0 || sn <= 0 || hi <= lo) return map;
  // floor((2i + 1)·sn / 2n) is kept as quotient and remainder and stepped by ±2sn: exact, and
  // no division per pixel. Since 0 <= i < n <= 2^31 and sn <= 2^32, (2i + 1)·sn < 2^64.
  const auto two_n = static_cast<uint64_t>(2 * n);
  const int64_t first_i = extent > 0 ? lo - origin : int64_t{origin} - 1 - lo;
  const uint64_t numerator = (2 * static_cast<uint64_t>(first_i) + 1) * static_cast<uint64_t>(sn);
  auto q = static_cast<int64_t>(numerator / two_n);
  auto r = static_cast<int64_t>(numerator % two_n);
  const auto step_q = static_cast<int64_t>((2 * static_cast<uint64_t>(sn)) / two_n);
  const auto step_r = static_cast<int64_t>((2 * static_cast<uint64_t>(sn)) % two_n);
  const auto wrap = static_cast<int64_t>(two_n);
  map.source.reserve(static_cast<size_t>(hi - lo));
  int64_t first = -1;
  for (int64_t c = lo; c < hi; ++c) {
    const int64_t s = s0 + q;
    // The mapping is monotonic, so the columns with a source inside the bitmap are contiguous;
    // the others keep what they show.
    if (s >= 0 && s < src_size) {
      if (first < 0) first = c;
      map.source.push_back(static_cast<int32_t>(s));
    }
    if (extent > 0) {  // i grows with c
      q += step_q;
      r += step_r;
      if (r >= wrap) {
        r -= wrap;
        ++q;
      }
    } else {  // i shrinks as c grows
      q -= step_q;
      r -= step_r;
      if (r < 0) {
        r += wrap;
        --q;
      }
    }
  }
  map.first = static_cast<int32_t>(first);
  return map;
}

// A piece of a destination row whose pixels come from consecutive source pixels.
struct Run {
  uint32_t to;    // byte offset from the start of the stretched row
  uint32_t from;  // byte offset in the source row
  uint32_t bytes;
};

// The runs of a column table; a mild scaling leaves long runs, which copy like spans.
std::vector<Run> runs_of(const std::vector<uint32_t>& offsets) {
  std::vector<Run> runs;
  for (size_t i = 0; i < offsets.size();) {
    size_t end = i + 1;
    while (end < offsets.size() && offsets[end] == offsets[end - 1] + 3) ++end;
    runs.push_back({static_cast<uint32_t>(3 * i), offsets[i], static_cast<uint32_t>(3 * (end - i))});
    i = end;
  }
  return runs;
}

// Pixels of a row piece by the column table: each pixel moves as one 4-byte word, whose fourth
// byte lands on the next pixel and is overwritten by it; the last pixel moves byte by byte.
// wide_reads: every pixel but the last may read 4 bytes at its source offset.
void gather(uint8_t* to, const uint8_t* from, const uint32_t* offset, size_t count,
            bool wide_reads) {
  size_t i = 0;
  if (wide_reads) {
    for (; i + 1 < count; ++i) move<4>(to + 3 * i, from + offset[i]);
  }
  for (; i < count; ++i) {
    const uint8_t* p = from + offset[i];
    uint8_t* q = to + 3 * i;
    q[0] = p[0];
    q[1] = p[1];
    q[2] = p[2];
  }
}

// The column side of a stretch: how to make one destination row from one source row.
class ColumnPlan {
 public:
  explicit ColumnPlan(const AxisMap& xs) : first_(xs.first) {
    offsets_.resize(xs.source.size());
    for (size_t i = 0; i < offsets_.size(); ++i) offsets_[i] = static_cast<uint32_t>(xs.source[i]) * 3;
    straight_ = true;
    for (size_t i = 1; i < offsets_.size() && straight_; ++i)
      straight_ = offsets_[i] == offsets_[i - 1] + 3;
    if (!straight_) {
      runs_ = runs_of(offsets_);
      // A run costs about as much as three gathered pixels.
      if (runs_.size() * 3 > offsets_.size()) runs_.clear();
    }
    max_read_ = *std::max_element(offsets_.begin(), offsets_.end()) + 4;
  }

  size_t max_read() const { return max_read_; }

  // Destination columns [x0, x1) of the plan's range; `to` points at column x0.
  void copy(uint8_t* to, const uint8_t* from_row, int32_t x0, int32_t x1, bool wide_reads) const {
    const auto k = static_cast<size_t>(x0 - first_);
    const auto count = static_cast<size_t>(x1 - x0);
    if (straight_) {
      copy_piece(to, from_row + offsets_[k], count * 3);
    } else if (!runs_.empty() && count == offsets_.size()) {
      for (const Run& run : runs_) copy_piece(to + run.to, from_row + run.from, run.bytes);
    } else {
      gather(to, from_row, offsets_.data() + k, count, wide_reads);
    }
  }

 private:
  int32_t first_;
  bool straight_ = false;
  size_t max_read_ = 0;
  std::vector<uint32_t> offsets_;
  std::vector<Run> runs_;
};

}  // namespace

void fill(Bitmap24& dst, const Rect& r, Color color, const Region* clip) {
  const Rect area = clip_to(dst, r.left, r.top, r.right, r.bottom);
  const ColorPattern pattern(color);
  for_each_row(area, clip, [&](int32_t y, const std::vector<RowPiece>& pieces, bool) {
    uint8_t* row = dst.row(y);
    for (const RowPiece& p : pieces)
      pattern.fill(row + static_cast<size_t>(p.left) * 3, static_cast<size_t>(p.right - p.left) * 3);
  });
}

void draw(Bitmap24& dst, int32_t x, int32_t y, const Bitmap24& src, const Region* clip) {
  const Rect area = clip_to(dst, x, y, int64_t{x} + src.width(), int64_t{y} + src.height());
  for_each_row(area, clip, [&](int32_t row, const std::vector<RowPiece>& pieces, bool) {
    uint8_t* to = dst.row(row);
    const uint8_t* from = src.row(row - y);
    for (const RowPiece& p : pieces) {
      copy_piece(to + static_cast<size_t>(p.left) * 3, from + static_cast<size_t>(p.left - x) * 3,
                 static_cast<size_t>(p.right - p.left) * 3);
    }
  });
}

void stretch_copy(Bitmap24& dst, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                  const Bitmap24& src, const Rect& src_rect, const Region* clip) {
  if (src_rect.empty() || dst.empty() || src.empty()) return;
  const int64_t sw = int64_t{src_rect.right} - src_rect.left;
  const int64_t sh = int64_t{src_rect.bottom} - src_rect.top;
  const AxisMap xs = map_axis(dx, dw, src_rect.left, sw, dst.width(), src.width());
  const AxisMap ys = map_axis(dy, dh, src_rect.top, sh, dst.height(), src.height());
  if (xs.source.empty() || ys.source.empty()) return;
  const Rect area{xs.first, ys.first, xs.first + static_cast<int32_t>(xs.source.size()),
                  ys.first + static_cast<int32_t>(ys.source.size())};
  const ColumnPlan columns(xs);
  // Word reads past a pixel stay inside the bitmap except, without row padding, at the end of
  // the last row.
  const uint8_t* src_end = src.data() + src.stride() * static_cast<size_t>(src.height());

  for_each_row(area, clip, [&](int32_t y, const std::vector<RowPiece>& pieces, bool band_start) {
    const auto k = static_cast<size_t>(y - area.top);
    uint8_t* row = dst.row(y);
    // A row that samples the same source row as the one above (an enlargement) repeats it.
    if (!band_start && ys.source[k] == ys.source[k - 1]) {
      const uint8_t* above = dst.row(y - 1);
      for (const RowPiece& p : pieces) {
        const auto at = static_cast<size_t>(p.left) * 3;
        copy_piece(row + at, above + at, static_cast<size_t>(p.right - p.left) * 3);
      }
      return;
    }
    const uint8_t* from = src.row(ys.source[k]);
    const bool wide_reads = static_cast<size_t>(src_end - from) >= columns.max_read();
    for (const RowPiece& p : pieces)
      columns.copy(row + static_cast<size_t>(p.left) * 3, from, p.left, p.right, wide_reads);
  });
}

}  // namespace ss
