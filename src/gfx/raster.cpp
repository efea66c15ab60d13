#include "gfx/raster.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <span>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// The columns [left, right) of one row piece. A clip band's spans are cut to the drawn columns
// once per band and reused for each of its rows.
struct RowPiece {
  int32_t left;
  int32_t right;
};

void clip_spans(std::span<const Rect> band, int32_t left, int32_t right,
                std::vector<RowPiece>& out) {
  const auto first = std::upper_bound(band.begin(), band.end(), left,
                                      [](int32_t x, const Rect& s) { return x < s.right; });
  const auto last = std::lower_bound(first, band.end(), right,
                                     [](const Rect& s, int32_t x) { return s.left < x; });
  out.resize(static_cast<size_t>(last - first));
  RowPiece* piece = out.data();
  for (auto span = first; span != last; ++span, ++piece)
    *piece = {std::max(span->left, left), std::min(span->right, right)};
}

// Calls row(y, pieces, band_start) for every row of r with the pieces of that row inside clip
// (all of r without a clip). Rows of one band share their pieces; band_start is false when the
// row above was given the same pieces.
template <class Row>
void for_each_row(const Rect& r, const Region* clip, Row row) {
  if (r.empty()) return;
  std::vector<RowPiece> pieces;
  if (!clip) {
    pieces.push_back({r.left, r.right});
    for (int32_t y = r.top; y < r.bottom; ++y) row(y, pieces, y == r.top);
    return;
  }
  const std::span<const Rect> boxes = clip->boxes();
  // Bottoms never decrease from box to box, so the first box ending below r.top opens the
  // first band that reaches into r.
  auto at = std::upper_bound(boxes.begin(), boxes.end(), r.top,
                             [](int32_t y, const Rect& b) { return y < b.bottom; });
  while (at != boxes.end() && at->top < r.bottom) {
    auto band_end = at;
    while (band_end != boxes.end() && band_end->top == at->top) ++band_end;
    const int32_t top = at->top;
    const int32_t bottom = at->bottom;
    clip_spans({at, band_end}, r.left, r.right, pieces);
    at = band_end;
    if (pieces.empty()) continue;
    const int32_t y0 = std::max(top, r.top);
    const int32_t y1 = std::min(bottom, r.bottom);
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

// A piece of a destination row that takes either consecutive source pixels (a mild scaling
// leaves long runs of them, which copy like spans) or one source pixel several times (a strong
// enlargement).
struct Run {
  uint32_t to;     // byte offset from the start of the stretched row
  uint32_t from;   // byte offset of the first source pixel in the source row
  uint32_t bytes;  // three per pixel
  bool repeat;     // one source pixel over all of them
};

std::vector<Run> runs_of(const std::vector<uint32_t>& offsets) {
  std::vector<Run> runs;
  for (size_t i = 0; i < offsets.size();) {
    size_t end = i + 1;
    const bool repeat = end < offsets.size() && offsets[end] == offsets[i];
    const uint32_t step = repeat ? 0 : 3;
    while (end < offsets.size() && offsets[end] == offsets[end - 1] + step) ++end;
    runs.push_back(
        {static_cast<uint32_t>(3 * i), offsets[i], static_cast<uint32_t>(3 * (end - i)), repeat});
    i = end;
  }
  return runs;
}

// Pixels are assembled in machine words, byte 0 lowest.
static_assert(std::endian::native == std::endian::little);

// Eight bytes of a pixel repeated, starting `phase` bytes into it.
inline uint64_t repeated_pixel(uint32_t pixel, int phase) {
  const uint64_t p = pixel & 0xFFFFFFu;
  const uint64_t rotated = phase == 0   ? p
                           : phase == 1 ? (p >> 8) | ((p & 0xFFu) << 16)
                                        : (p >> 16) | ((p & 0xFFFFu) << 8);
  return rotated * 0x0001000001000001u;  // at bytes 0, 3 and 6
}

// The pixel at `from` repeated over n bytes, without touching a byte outside them: the first
// and last 8 or 16 bytes, each in the phase of where it starts.
void repeat_pixel(uint8_t* to, const uint8_t* from, size_t n) {
  if (n < 8) {
    std::memcpy(to, from, 3);
    if (n == 6) std::memcpy(to + 3, from, 3);
    return;
  }
  uint32_t pixel = 0;
  std::memcpy(&pixel, from, 3);
  auto put = [&](size_t at) {
    const uint64_t word = repeated_pixel(pixel, static_cast<int>(at % 3));
    std::memcpy(to + at, &word, 8);
  };
  for (size_t at = 0; at + 8 < n; at += 8) put(at);
  put(n - 8);
}

// 16 bytes of one pixel repeated from its first byte: five whole pixels and the start of a
// sixth, so that 15-byte steps keep the pattern in phase.
struct Pattern16 {
#ifdef __SSE2__
  __m128i bytes;
  explicit Pattern16(uint64_t lo, uint64_t hi)
      : bytes(_mm_set_epi64x(static_cast<long long>(hi), static_cast<long long>(lo))) {}
  void store(uint8_t* to) const {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), bytes);
  }
#else
  uint64_t lo, hi;
  explicit Pattern16(uint64_t l, uint64_t h) : lo(l), hi(h) {}
  void store(uint8_t* to) const {
    std::memcpy(to, &lo, 8);
    std::memcpy(to + 8, &hi, 8);
  }
#endif
  static Pattern16 of_pixel(const uint8_t* from) {
    uint32_t word;
    std::memcpy(&word, from, 4);  // the fourth byte is dropped
    const uint64_t lo = repeated_pixel(word, 0);
    return Pattern16(lo, (lo >> 16) | (lo << 32));  // bytes 8..15 start in phase 2
  }
};

// A run may write up to 31 bytes past its end, which the runs after it overwrite, so only the
// runs near the end of the row are copied exactly; the others take a fixed number of moves for
// their usual lengths and no branch on them. Reads reach up to kRunOverread bytes past a run's
// source pixels.
constexpr size_t kRunOverread = 32;

enum class RunKinds { kCopies, kRepeats, kBoth };

struct RunPlan {
  std::vector<Run> runs;
  size_t loose = 0;  // the runs before this one may write past their end
  RunKinds kinds = RunKinds::kBoth;
};

template <RunKinds kKinds>
void copy_loose_runs(uint8_t* to, const uint8_t* from, const RunPlan& plan) {
  const Run* run = plan.runs.data();
  const Run* const end = run + plan.loose;
  for (; run != end; ++run) {
    uint8_t* d = to + run->to;
    const uint8_t* s = from + run->from;
    const bool repeat = kKinds == RunKinds::kRepeats || (kKinds == RunKinds::kBoth && run->repeat);
    if (!repeat) {
      move<16>(d, s);
      move<16>(d + 16, s + 16);
      for (size_t at = 32; at < run->bytes; at += 16) move<16>(d + at, s + at);
    } else if (run->bytes <= 24) {  // 8-byte words hold two whole pixels each
      uint32_t word;
      std::memcpy(&word, s, 4);
      const uint64_t pattern = repeated_pixel(word, 0);
      for (size_t at = 0; at < 24; at += 6) std::memcpy(d + at, &pattern, 8);
    } else {
      const Pattern16 pattern = Pattern16::of_pixel(s);
      for (size_t at = 0; at < run->bytes; at += 15) pattern.store(d + at);
    }
  }
}

// All runs of a row into `to`.
void copy_runs(uint8_t* to, const uint8_t* from, const RunPlan& plan) {
  switch (plan.kinds) {
    case RunKinds::kCopies:
      copy_loose_runs<RunKinds::kCopies>(to, from, plan);
      break;
    case RunKinds::kRepeats:
      copy_loose_runs<RunKinds::kRepeats>(to, from, plan);
      break;
    case RunKinds::kBoth:
      copy_loose_runs<RunKinds::kBoth>(to, from, plan);
      break;
  }
  for (size_t k = plan.loose; k < plan.runs.size(); ++k) {
    const Run& run = plan.runs[k];
    if (run.repeat) {
      repeat_pixel(to + run.to, from + run.from, run.bytes);
    } else {
      copy_piece(to + run.to, from + run.from, run.bytes);
    }
  }
}

// Pixels of a row piece by the column table. Pixels move in pairs, as one 8-byte word whose
// last two bytes land on the next pixel, and then one by one as 4-byte words whose last byte
// does; the pixels after overwrite those bytes, and the last pixel moves byte by byte.
// wide_reads: every pixel but the last may read 4 bytes at its source offset.
void gather(uint8_t* to, const uint8_t* from, const uint32_t* offset, size_t count,
            bool wide_reads) {
  size_t i = 0;
  if (wide_reads) {
    for (; i + 2 < count; i += 2) {
      uint32_t a, b;
      std::memcpy(&a, from + offset[i], 4);
      std::memcpy(&b, from + offset[i + 1], 4);
      const uint64_t pair = (a & 0xFFFFFFu) | uint64_t{b} << 24;
      std::memcpy(to + 3 * i, &pair, 8);
    }
    for (; i + 1 < count; ++i) move<4>(to + 3 * i, from + offset[i]);
  }
  for (; i < count; ++i) std::memcpy(to + 3 * i, from + offset[i], 3);
}

// The column side of a stretch: how to make one destination row from one source row.
class ColumnPlan {
 public:
  explicit ColumnPlan(const AxisMap& xs) : first_(xs.first) {
    offsets_.resize(xs.source.size());
    for (size_t i = 0; i < offsets_.size(); ++i)
      offsets_[i] = static_cast<uint32_t>(xs.source[i]) * 3;
    straight_ = true;
    for (size_t i = 1; i < offsets_.size() && straight_; ++i)
      straight_ = offsets_[i] == offsets_[i - 1] + 3;
    const size_t last_source = *std::max_element(offsets_.begin(), offsets_.end()) + 3;
    word_reads_ = last_source + 1;
    if (!straight_) {
      runs_.runs = runs_of(offsets_);
      // A run costs about as much as four gathered pixels (measured: shorter runs, even of
      // repeats, are slower than gathering).
      if (runs_.runs.size() * 4 > offsets_.size()) runs_.runs.clear();
      plan_runs(offsets_.size() * 3);
      run_reads_ = last_source + kRunOverread;
    }
  }

  // Destination columns [x0, x1) of the plan's range from the source row at from_row; `to`
  // points at column x0. readable: the bytes that may be read from from_row on.
  void copy(uint8_t* to, const uint8_t* from_row, int32_t x0, int32_t x1, size_t readable) const {
    const auto k = static_cast<size_t>(x0 - first_);
    const auto count = static_cast<size_t>(x1 - x0);
    if (straight_) {
      copy_piece(to, from_row + offsets_[k], count * 3);
    } else if (!runs_.runs.empty() && count == offsets_.size() && readable >= run_reads_) {
      copy_runs(to, from_row, runs_);
    } else {
      gather(to, from_row, offsets_.data() + k, count, readable >= word_reads_);
    }
  }

 private:
  void plan_runs(size_t row_bytes) {
    const auto& runs = runs_.runs;
    while (runs_.loose < runs.size() &&
           runs[runs_.loose].to + runs[runs_.loose].bytes + kRunOverread <= row_bytes)
      ++runs_.loose;
    const bool any_repeat =
        std::any_of(runs.begin(), runs.end(), [](const Run& r) { return r.repeat; });
    const bool any_copy =
        std::any_of(runs.begin(), runs.end(), [](const Run& r) { return !r.repeat; });
    runs_.kinds = !any_repeat ? RunKinds::kCopies
                  : !any_copy ? RunKinds::kRepeats
                              : RunKinds::kBoth;
  }

  int32_t first_;
  bool straight_ = false;
  size_t word_reads_ = 0;  // the bytes of a source row that word moves read
  size_t run_reads_ = 0;   // and that run moves read
  std::vector<uint32_t> offsets_;
  RunPlan runs_;
};

}  // namespace

void fill(Bitmap24& dst, const Rect& r, Color color, const Region* clip) {
  const Rect area = clip_to(dst, r.left, r.top, r.right, r.bottom);
  const ColorPattern pattern(color);
  for_each_row(area, clip, [&](int32_t y, const std::vector<RowPiece>& pieces, bool) {
    uint8_t* row = dst.row(y);
    for (const RowPiece& p : pieces)
      pattern.fill(row + static_cast<size_t>(p.left) * 3,
                   static_cast<size_t>(p.right - p.left) * 3);
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
  // Reads a little past a pixel stay inside the bitmap except near the end of its last rows.
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
    const auto readable = static_cast<size_t>(src_end - from);
    for (const RowPiece& p : pieces)
      columns.copy(row + static_cast<size_t>(p.left) * 3, from, p.left, p.right, readable);
  });
}

}  // namespace ss
