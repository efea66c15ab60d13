#include "gfx/area_scale.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define SS_AREA_SSE2 1
#endif

namespace ss {
namespace {

// Weights are fractions of 2^16. A source byte v enters the column sums as v·256, weighed by
// one 16 × 16-bit multiply rounded to 16 bits, (v·256·w + 2^15) >> 16; the weights of one
// destination pixel add up to exactly 2^16, and each is below it on a shrunk axis. Each term is
// off by at most half a unit, 1/512 of a level, and a sum of up to kRoundedTaps terms stays
// below 2^16 and within a quarter level. Rows of more terms (a picture shrunk over 128 times)
// are summed exactly in 32 bits first.
constexpr uint32_t kWeightOne = 1u << 16;
constexpr int32_t kRoundedTaps = 128;

// The source pixels that make up destination pixel i of one axis: `count` pixels from `first`,
// their weights at `weights` in the axis' weight list. count 1 means the pixel is taken whole.
struct Taps {
  int32_t first;
  int32_t count;
  uint32_t weights;
};

struct Axis {
  std::vector<Taps> taps;  // one per visible destination pixel
  std::vector<uint16_t> weights;
};

// The taps of destination pixels [from, to) of an extent n over a source extent s.
void make_axis(int64_t n, int64_t s, int32_t from, int32_t to, Axis& axis) {
  axis.taps.clear();
  axis.weights.clear();
  for (int64_t i = from; i < to; ++i) {
    if (n >= s) {  // not shrunk: the pixel under the centre
      axis.taps.push_back({static_cast<int32_t>((2 * i + 1) * s / (2 * n)), 1, 0});
      continue;
    }
    // In units of 1/n source pixels, pixel i covers [i·s, (i + 1)·s) and source pixel k covers
    // [k·n, (k + 1)·n). A boundary at t weighs in at round(t·2^16 / s) from the span's start,
    // so the weights add up to 2^16 whatever the rounding.
    const int64_t start = i * s;
    const int64_t end = start + s;
    const int64_t first = start / n;
    const int64_t last = (end - 1) / n;
    Taps t{static_cast<int32_t>(first), static_cast<int32_t>(last - first + 1),
           static_cast<uint32_t>(axis.weights.size())};
    int64_t below = 0;
    for (int64_t k = first; k <= last; ++k) {
      const int64_t upto = std::min(end, (k + 1) * n) - start;
      const int64_t at = (upto * kWeightOne + s / 2) / s;
      axis.weights.push_back(static_cast<uint16_t>(at - below));
      below = at;
    }
    axis.taps.push_back(t);
  }
}

#ifdef SS_AREA_SSE2
// (a·w + 2^15) >> 16 for eight 16-bit lanes: the high half, plus the low half's top bit.
inline __m128i weigh8(__m128i a, __m128i w) {
  return _mm_add_epi16(_mm_mulhi_epu16(a, w), _mm_srli_epi16(_mm_mullo_epi16(a, w), 15));
}
#endif

// sums[x] (+)= the weighted bytes of one source row; the first row of a pixel sets them.
void weigh_row(const uint8_t* row, size_t bytes, uint16_t weight, bool first, uint16_t* sums) {
  size_t x = 0;
#ifdef SS_AREA_SSE2
  const __m128i w = _mm_set1_epi16(static_cast<int16_t>(weight));
  const __m128i zero = _mm_setzero_si128();
  for (; x + 16 <= bytes; x += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
    __m128i lo = weigh8(_mm_unpacklo_epi8(zero, v), w);
    __m128i hi = weigh8(_mm_unpackhi_epi8(zero, v), w);
    auto* out = reinterpret_cast<__m128i*>(sums + x);
    if (!first) {
      lo = _mm_add_epi16(lo, _mm_loadu_si128(out));
      hi = _mm_add_epi16(hi, _mm_loadu_si128(out + 1));
    }
    _mm_storeu_si128(out, lo);
    _mm_storeu_si128(out + 1, hi);
  }
#endif
  for (; x < bytes; ++x) {
    const auto term = static_cast<uint16_t>((uint32_t{row[x]} * 256u * weight + 32768u) >> 16);
    sums[x] = static_cast<uint16_t>(first ? term : sums[x] + term);
  }
}

// The sums of many rows, exact until one rounding at the end.
void weigh_rows_exactly(const Bitmap24& src, const Taps& t, const uint16_t* weights, size_t from,
                        size_t bytes, uint16_t* sums) {
  thread_local std::vector<uint32_t> wide;
  wide.assign(bytes, 0);
  for (int32_t k = 0; k < t.count; ++k) {
    const uint8_t* row = src.row(t.first + k) + from;
    const uint32_t w = weights[k];
    for (size_t x = 0; x < bytes; ++x) wide[x] += row[x] * w;
  }
  for (size_t x = 0; x < bytes; ++x)
    sums[x] = static_cast<uint16_t>((wide[x] * 256ull + 32768u) >> 16);
}

void copy_row(const uint8_t* row, size_t bytes, uint16_t* sums) {
  for (size_t x = 0; x < bytes; ++x) sums[x] = static_cast<uint16_t>(row[x] << 8);
}

// A sum in units of 1/2^24 of a level, rounded to the nearest level.
inline uint8_t level_of(uint64_t v) {
  return static_cast<uint8_t>(std::min<uint64_t>(255, (v + (1u << 23)) >> 24));
}

// The shrunk columns of one row when every pixel takes N of them (the last ones padded with
// zero weights): a loop of fixed length, which the compiler unrolls.
template <int N>
void weigh_columns(const uint16_t* sum, const std::vector<Taps>& taps, const uint16_t* weights,
                   uint8_t* out) {
  for (const Taps& c : taps) {
    const uint16_t* p = sum + static_cast<ptrdiff_t>(c.first) * 3;
    uint32_t b = 0, g = 0, r = 0;
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC unroll 8
#endif
    for (int k = 0; k < N; ++k) {
      b += uint32_t{p[3 * k]} * weights[k];
      g += uint32_t{p[3 * k + 1]} * weights[k];
      r += uint32_t{p[3 * k + 2]} * weights[k];
    }
    out[0] = level_of(b);
    out[1] = level_of(g);
    out[2] = level_of(r);
    out += 3;
    weights += N;
  }
}

// The weights of an axis laid out N to a pixel, zeros after each pixel's own.
void pad_weights(const Axis& axis, int n, std::vector<uint16_t>& out) {
  out.assign(axis.taps.size() * static_cast<size_t>(n), 0);
  for (size_t i = 0; i < axis.taps.size(); ++i)
    std::copy_n(axis.weights.begin() + axis.taps[i].weights, axis.taps[i].count,
                out.begin() + static_cast<ptrdiff_t>(i * static_cast<size_t>(n)));
}

}  // namespace

void scale_area(const Bitmap24& src, Bitmap24& dst, const Rect& dst_rect) {
  if (src.empty() || dst_rect.empty()) return;
  const Rect visible = dst_rect.intersect(dst.bounds());
  if (visible.empty()) return;
  thread_local Axis columns;
  thread_local Axis rows;
  thread_local std::vector<uint16_t> sums;
  thread_local std::vector<uint16_t> padded;
  make_axis(dst_rect.width(), src.width(), visible.left - dst_rect.left,
            visible.right - dst_rect.left, columns);
  make_axis(dst_rect.height(), src.height(), visible.top - dst_rect.top,
            visible.bottom - dst_rect.top, rows);
  // Only the source columns that the visible pixels read are summed.
  const Taps& first_column = columns.taps.front();
  const Taps& last_column = columns.taps.back();
  const int32_t from = first_column.first;
  const size_t bytes = static_cast<size_t>(last_column.first + last_column.count - from) * 3;
  // A shrunk axis gives every pixel two or more columns; up to eight, each pixel takes as many
  // as the most that any takes, reading zeros past the last column.
  int fixed_taps = 0;
  for (const Taps& c : columns.taps) fixed_taps = std::max(fixed_taps, c.count);
  if (fixed_taps < 2 || fixed_taps > 8) fixed_taps = 0;
  if (fixed_taps) pad_weights(columns, fixed_taps, padded);
  sums.resize(bytes + 3 * 8);
  std::fill(sums.begin() + static_cast<ptrdiff_t>(bytes), sums.end(), uint16_t{0});
  const uint16_t* sum = sums.data() - static_cast<ptrdiff_t>(from) * 3;

  for (int32_t y = visible.top; y < visible.bottom; ++y) {
    const Taps& t = rows.taps[static_cast<size_t>(y - visible.top)];
    if (t.count == 1) {
      copy_row(src.row(t.first) + static_cast<size_t>(from) * 3, bytes, sums.data());
    } else if (t.count > kRoundedTaps) {
      weigh_rows_exactly(src, t, rows.weights.data() + t.weights, static_cast<size_t>(from) * 3,
                         bytes, sums.data());
    } else {
      for (int32_t k = 0; k < t.count; ++k)
        weigh_row(src.row(t.first + k) + static_cast<size_t>(from) * 3, bytes,
                  rows.weights[t.weights + static_cast<uint32_t>(k)], k == 0, sums.data());
    }
    uint8_t* out = dst.row(y) + static_cast<size_t>(visible.left) * 3;
    switch (fixed_taps) {
      case 2:
        weigh_columns<2>(sum, columns.taps, padded.data(), out);
        continue;
      case 3:
        weigh_columns<3>(sum, columns.taps, padded.data(), out);
        continue;
      case 4:
        weigh_columns<4>(sum, columns.taps, padded.data(), out);
        continue;
      case 5:
        weigh_columns<5>(sum, columns.taps, padded.data(), out);
        continue;
      case 6:
        weigh_columns<6>(sum, columns.taps, padded.data(), out);
        continue;
      case 7:
        weigh_columns<7>(sum, columns.taps, padded.data(), out);
        continue;
      case 8:
        weigh_columns<8>(sum, columns.taps, padded.data(), out);
        continue;
      default:
        break;
    }
    for (const Taps& c : columns.taps) {
      const uint16_t* p = sum + static_cast<ptrdiff_t>(c.first) * 3;
      if (c.count == 1) {
        for (int ch = 0; ch < 3; ++ch) out[ch] = level_of(uint64_t{p[ch]} * kWeightOne);
      } else {
        uint32_t b = 0, g = 0, r = 0;
        const uint16_t* w = columns.weights.data() + c.weights;
        for (int32_t k = 0; k < c.count; ++k, p += 3) {
          b += uint32_t{p[0]} * w[k];
          g += uint32_t{p[1]} * w[k];
          r += uint32_t{p[2]} * w[k];
        }
        out[0] = level_of(b);
        out[1] = level_of(g);
        out[2] = level_of(r);
      }
      out += 3;
    }
  }
}

}  // namespace ss
