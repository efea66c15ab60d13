#include "transition/pixel_routines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "base/raster.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define SS_BLEND_SSE2 1
#endif

namespace ss {

void MirrorStretchDraw(Bitmap24& dst, const Rect& dst_rect, const Bitmap24& src, Rect src_rect,
                       bool mirror_left_right, bool mirror_top_bottom, const Region* clip) {
  src_rect = src_rect.intersect(src.bounds());
  int32_t l = dst_rect.left;
  int32_t t = dst_rect.top;
  int32_t r = dst_rect.right;
  int32_t b = dst_rect.bottom;
  if (mirror_left_right) {
    const int32_t old_left = l;
    l = r + 1;
    r = old_left - 1;
  }
  if (mirror_top_bottom) {
    const int32_t old_top = t;
    t = b + 1;
    b = old_top - 1;
  }
  stretch_copy(dst, l, t, r - l, b - t, src, src_rect, clip);
}

namespace {

// x div 100 for 0 <= x <= 25500, exactly, as (x · 41944) >> 22: 41944 / 2^22 exceeds 1/100 by
// less than 1/(100 · 25500) of 1/100, too little to reach the next multiple of 100.
constexpr uint16_t kDiv100Multiplier = 41944;
constexpr int kDiv100Shift = 22;

constexpr bool div100_is_exact() {
  for (uint32_t x = 0; x <= 255 * 100; ++x)
    if (((x * kDiv100Multiplier) >> kDiv100Shift) != x / 100) return false;
  return true;
}
static_assert(div100_is_exact());

#ifdef SS_BLEND_SSE2
// Blends 16 bytes: (d · keep) div 100 + (s · take) div 100, in 16-bit lanes.
inline __m128i blend16(__m128i d, __m128i s, __m128i keep, __m128i take) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i magic = _mm_set1_epi16(static_cast<short>(kDiv100Multiplier));
  auto half = [&](__m128i dh, __m128i sh) {
    const __m128i dq =
        _mm_srli_epi16(_mm_mulhi_epu16(_mm_mullo_epi16(dh, keep), magic), kDiv100Shift - 16);
    const __m128i sq =
        _mm_srli_epi16(_mm_mulhi_epu16(_mm_mullo_epi16(sh, take), magic), kDiv100Shift - 16);
    return _mm_add_epi16(dq, sq);
  };
  const __m128i lo = half(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero));
  const __m128i hi = half(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero));
  return _mm_packus_epi16(lo, hi);
}
#endif

}  // namespace

void BlendBitmaps(Bitmap24& dst, const Bitmap24& src, int32_t a) {
  a = std::clamp(a, 0, 100);
  const int32_t width = std::min(dst.width(), src.width());
  const int32_t height = std::min(dst.height(), src.height());
  if (width <= 0 || height <= 0) return;
  // Each term is divided on its own, so a byte's result is keep[d] + take[s].
  std::array<uint8_t, 256> keep_table{};
  std::array<uint8_t, 256> take_table{};
  for (int32_t v = 0; v < 256; ++v) {
    keep_table[v] = static_cast<uint8_t>(v * (100 - a) / 100);
    take_table[v] = static_cast<uint8_t>(v * a / 100);
  }
  const size_t row_bytes = static_cast<size_t>(width) * 3;
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* d = dst.row(y);
    const uint8_t* s = src.row(y);
    size_t i = 0;
#ifdef SS_BLEND_SSE2
    const __m128i keep = _mm_set1_epi16(static_cast<short>(100 - a));
    const __m128i take = _mm_set1_epi16(static_cast<short>(a));
    for (; i + 16 <= row_bytes; i += 16) {
      const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
      const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), blend16(dv, sv, keep, take));
    }
#endif
    for (; i < row_bytes; ++i) d[i] = static_cast<uint8_t>(keep_table[d[i]] + take_table[s[i]]);
  }
}

namespace {

// Rounds to the nearest integer, ties to even, in the current (round-to-nearest) mode: adding
// 1.5 · 2^(digits − 1) leaves no fraction bits, so the addition itself does the rounding. Exact
// for |v| < 2^(digits − 2).
inline long double round_half_even(long double v) {
  static const long double kShift = std::ldexp(1.5L, std::numeric_limits<long double>::digits - 1);
  return (v + kShift) - kShift;
}

// One rotated coordinate, nearest(column term + row term), where the terms are the long double
// products of the formula. The sum is first taken in double, which is within `slack` of the
// long double sum; only when that leaves the rounding in doubt (a fraction within slack of one
// half) is the long double sum rounded. False when the value is too far off to be a pixel.
struct RotatedAxis {
  std::vector<long double> column_terms;
  std::vector<double> column_terms_fast;
  double slack = 0;

  bool nearest(size_t x, long double row_term, double row_term_fast, int64_t& out) const {
    const double t = column_terms_fast[x] + row_term_fast;
    if (!(std::fabs(t) < 0x1p50)) return false;  // also NaN
    const auto whole = static_cast<int64_t>(t);  // toward zero
    const double fraction = t - static_cast<double>(whole);
    if (std::fabs(std::fabs(fraction) - 0.5) > slack) {
      out = whole + (fraction > 0.5) - (fraction < -0.5);
    } else {
      out = static_cast<int64_t>(round_half_even(column_terms[x] + row_term));
    }
    return true;
  }

  // The coordinate before adding the centre, with far-off values pinned to ±2^50 so that it
  // stays monotonic in x.
  int64_t pinned(size_t x, long double row_term, double row_term_fast) const {
    int64_t out;
    if (nearest(x, row_term, row_term_fast, out)) return out;
    return column_terms_fast[x] + row_term_fast < 0 ? -(int64_t{1} << 50) : int64_t{1} << 50;
  }
};

// The columns [first, last) whose value(x) lies in [lo, hi), for a value monotonic in x.
template <class Value>
std::pair<int32_t, int32_t> columns_within(int32_t width, bool increasing, int64_t lo, int64_t hi,
                                           Value value) {
  auto first_where = [&](auto pred) {  // pred is false, then true, along x
    int32_t a = 0;
    int32_t b = width;
    while (a < b) {
      const int32_t m = a + (b - a) / 2;
      if (pred(value(m))) {
        b = m;
      } else {
        a = m + 1;
      }
    }
    return a;
  };
  if (increasing) {
    return {first_where([lo](int64_t v) { return v >= lo; }),
            first_where([hi](int64_t v) { return v >= hi; })};
  }
  return {first_where([hi](int64_t v) { return v < hi; }),
          first_where([lo](int64_t v) { return v < lo; })};
}

}  // namespace

// Every pixel evaluates u = nearest(dx·cos θ − dy·sin θ) + cx and v = nearest(dx·sin θ +
// dy·cos θ) + cy with the long double roundings of the formula: the products are taken once
// per column and per row (the same values the formula computes), and the sum is rounded through
// RotatedAxis, which gives the long double result exactly while mostly working in double.
void RotateBitmap(Bitmap24& dst, const Bitmap24& src, int32_t cx, int32_t cy, long double theta) {
  const int32_t width = std::min(dst.width(), src.width());
  const int32_t height = std::min(dst.height(), src.height());
  if (width <= 0 || height <= 0) return;
  const long double sin_t = std::sin(theta);
  const long double cos_t = std::cos(theta);

  // Every term and sum is at most `reach` in magnitude; the double sum errs by less than
  // 2^-50 of it, so 2^-40 of it (plus a floor) is a generous margin.
  auto farthest = [](int32_t centre, int32_t size) {
    return std::max(std::fabs(static_cast<double>(centre)),
                    std::fabs(static_cast<double>(size - 1) - centre));
  };
  const double reach = farthest(cx, width) + farthest(cy, height);
  RotatedAxis u_axis;  // dx·cos θ − dy·sin θ
  RotatedAxis v_axis;  // dx·sin θ + dy·cos θ
  u_axis.slack = v_axis.slack = std::ldexp(reach, -40) + 0x1p-30;
  for (RotatedAxis* axis : {&u_axis, &v_axis}) {
    axis->column_terms.resize(static_cast<size_t>(width));
    axis->column_terms_fast.resize(static_cast<size_t>(width));
  }
  for (int32_t x = 0; x < width; ++x) {
    const auto dx = static_cast<long double>(int64_t{x} - cx);
    u_axis.column_terms[x] = dx * cos_t;
    v_axis.column_terms[x] = dx * sin_t;
    u_axis.column_terms_fast[x] = static_cast<double>(u_axis.column_terms[x]);
    v_axis.column_terms_fast[x] = static_cast<double>(v_axis.column_terms[x]);
  }

  // Rounding keeps order, so along a row u and v are monotonic in x and the columns that map
  // inside the source form one run, found by bisection.
  struct RowTerms {
    long double u_row, v_row;
    double u_row_fast, v_row_fast;
    int32_t first, last;
  };
  std::vector<RowTerms> rows(static_cast<size_t>(height));
  for (int32_t y = 0; y < height; ++y) {
    const auto dy = static_cast<long double>(int64_t{y} - cy);
    RowTerms& r = rows[y];
    r.u_row = -(dy * sin_t);  // a − b rounds as a + (−b), so the u row term is stored negated
    r.v_row = dy * cos_t;
    r.u_row_fast = static_cast<double>(r.u_row);
    r.v_row_fast = static_cast<double>(r.v_row);
    const auto [u_first, u_last] = columns_within(
        width, cos_t >= 0, -int64_t{cx}, int64_t{width} - cx,
        [&](int32_t x) { return u_axis.pinned(static_cast<size_t>(x), r.u_row, r.u_row_fast); });
    const auto [v_first, v_last] = columns_within(
        width, sin_t >= 0, -int64_t{cy}, int64_t{height} - cy,
        [&](int32_t x) { return v_axis.pinned(static_cast<size_t>(x), r.v_row, r.v_row_fast); });
    r.first = std::max(u_first, v_first);
    r.last = std::min(u_last, v_last);
  }

  // Walked in tiles: a rotated row runs across many source rows, and a tile keeps the source
  // rows it reads in cache.
  constexpr int32_t kTile = 64;
  for (int32_t tile_y = 0; tile_y < height; tile_y += kTile) {
    for (int32_t tile_x = 0; tile_x < width; tile_x += kTile) {
      for (int32_t y = tile_y; y < std::min(tile_y + kTile, height); ++y) {
        const RowTerms& r = rows[y];
        uint8_t* out = dst.row(y);
        const int32_t x_end = std::min({tile_x + kTile, width, r.last});
        for (int32_t x = std::max(tile_x, r.first); x < x_end; ++x) {
          int64_t u;
          int64_t v;
          if (!u_axis.nearest(static_cast<size_t>(x), r.u_row, r.u_row_fast, u)) continue;
          if (!v_axis.nearest(static_cast<size_t>(x), r.v_row, r.v_row_fast, v)) continue;
          u += cx;
          v += cy;
          // The bisection already keeps u and v inside; this only guards the reads.
          if (u < 0 || u >= width || v < 0 || v >= height) continue;
          const uint8_t* p = src.row(static_cast<int32_t>(v)) + static_cast<size_t>(u) * 3;
          uint8_t* q = out + static_cast<size_t>(x) * 3;
          q[0] = p[0];
          q[1] = p[1];
          q[2] = p[2];
        }
      }
    }
  }
}

}  // namespace ss
