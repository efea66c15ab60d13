#include "transition/pixel_routines.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
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

// a div 100 and (100 − a) div 100 scaled: floor(v·k / 100) == (v·m) >> 16 for every byte v
// when m = ceil(k·2^16 / 100) and 1 <= k <= 99. m / 2^16 exceeds k / 100 by less than 2^-16, so
// v·m / 2^16 exceeds v·k / 100 by less than 255 / 2^16 < 1 / 100, too little to reach the next
// integer (a fraction of v·k / 100 is a whole number of hundredths).
constexpr uint16_t percent_multiplier(int32_t k) {
  return static_cast<uint16_t>((static_cast<uint32_t>(k) * 65536 + 99) / 100);
}

constexpr bool percent_multipliers_are_exact() {
  for (int32_t k = 1; k <= 99; ++k)
    for (uint32_t v = 0; v <= 255; ++v)
      if (((v * percent_multiplier(k)) >> 16) != v * static_cast<uint32_t>(k) / 100) return false;
  return true;
}
static_assert(percent_multipliers_are_exact());

#ifdef SS_BLEND_SSE2
// Blends 16 bytes: (d·keep) div 100 + (s·take) div 100, one high multiply per term.
inline __m128i blend16(__m128i d, __m128i s, __m128i keep, __m128i take) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i lo = _mm_add_epi16(_mm_mulhi_epu16(_mm_unpacklo_epi8(d, zero), keep),
                                   _mm_mulhi_epu16(_mm_unpacklo_epi8(s, zero), take));
  const __m128i hi = _mm_add_epi16(_mm_mulhi_epu16(_mm_unpackhi_epi8(d, zero), keep),
                                   _mm_mulhi_epu16(_mm_unpackhi_epi8(s, zero), take));
  return _mm_packus_epi16(lo, hi);
}
#endif

}  // namespace

void BlendBitmaps(Bitmap24& dst, const Bitmap24& src, int32_t a) {
  a = std::clamp(a, 0, 100);
  const int32_t width = std::min(dst.width(), src.width());
  const int32_t height = std::min(dst.height(), src.height());
  if (width <= 0 || height <= 0 || a == 0) return;  // a = 0 keeps every byte
  const size_t row_bytes = static_cast<size_t>(width) * 3;
  if (a == 100) {  // each byte becomes the source's
    for (int32_t y = 0; y < height; ++y) std::memcpy(dst.row(y), src.row(y), row_bytes);
    return;
  }
  // Each term is divided on its own, so a byte's result is keep[d] + take[s].
  std::array<uint8_t, 256> keep_table{};
  std::array<uint8_t, 256> take_table{};
  for (int32_t v = 0; v < 256; ++v) {
    keep_table[v] = static_cast<uint8_t>(v * (100 - a) / 100);
    take_table[v] = static_cast<uint8_t>(v * a / 100);
  }
#ifdef SS_BLEND_SSE2
  const __m128i keep = _mm_set1_epi16(static_cast<short>(percent_multiplier(100 - a)));
  const __m128i take = _mm_set1_epi16(static_cast<short>(percent_multiplier(a)));
#endif
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* d = dst.row(y);
    const uint8_t* s = src.row(y);
    size_t i = 0;
#ifdef SS_BLEND_SSE2
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

constexpr int kFractionBits = 32;
constexpr long double kFixedOne = 4294967296.0L;  // 2^kFractionBits

// The rotation of one picture: u = nearest(dx·cos θ − dy·sin θ) + cx and v = nearest(dx·sin θ +
// dy·cos θ) + cy with the long double roundings of the formula. The products and sums are
// those of the formula (a − b rounds as a + (−b)); exact() evaluates them as written.
//
// Along a row the values grow by cos θ and sin θ per column, so the row walks them in 32.32
// fixed point: one addition per column, with the nearest integer read off the top half. The
// fixed-point value strays from the long double one by less than 1 + x / 2 units of 2^-32 at
// column x (the start and the steps are rounded to the nearest unit, and the long double
// roundings add at most half a unit), so wherever the fraction lies farther than `slack` from a
// half the fixed-point rounding is the exact one; the few columns closer than that are
// evaluated in long double.
class Rotation {
 public:
  Rotation(int32_t cx, int32_t cy, long double theta, int32_t width)
      : cx_(cx), cy_(cy), sin_(std::sin(theta)), cos_(std::cos(theta)) {
    slack_ = static_cast<uint32_t>(width) + 16;
    u_step_ = std::llround(cos_ * kFixedOne);
    v_step_ = std::llround(sin_ * kFixedOne);
  }

  bool finite() const { return std::isfinite(sin_) && std::isfinite(cos_); }
  bool increasing_u() const { return cos_ >= 0; }
  bool increasing_v() const { return sin_ >= 0; }
  int64_t u_step() const { return u_step_; }
  int64_t v_step() const { return v_step_; }

  // The long double values at column x of row y, or false when one is no integer in range.
  bool exact(int32_t x, int32_t y, int64_t& u, int64_t& v) const {
    const auto dx = static_cast<long double>(int64_t{x} - cx_);
    const auto dy = static_cast<long double>(int64_t{y} - cy_);
    const long double tu = round_half_even(dx * cos_ + -(dy * sin_));
    const long double tv = round_half_even(dx * sin_ + dy * cos_);
    constexpr long double kLimit = 0x1p60L;
    if (!(std::fabs(tu) < kLimit && std::fabs(tv) < kLimit)) return false;  // also NaN
    u = static_cast<int64_t>(tu) + cx_;
    v = static_cast<int64_t>(tv) + cy_;
    return true;
  }

  // The fixed-point values of column 0 of row y, with the half for rounding and the centre
  // already added, so that the nearest integer is the value shifted right.
  void row_start(int32_t y, int64_t& u0, int64_t& v0) const {
    const auto dx = static_cast<long double>(-int64_t{cx_});
    const auto dy = static_cast<long double>(int64_t{y} - cy_);
    const long double tu = dx * cos_ + -(dy * sin_);
    const long double tv = dx * sin_ + dy * cos_;
    constexpr int64_t kHalf = int64_t{1} << (kFractionBits - 1);
    u0 = std::llround(tu * kFixedOne) + kHalf + (int64_t{cx_} << kFractionBits);
    v0 = std::llround(tv * kFixedOne) + kHalf + (int64_t{cy_} << kFractionBits);
  }

  // True when the rounding of a fixed-point value is in doubt: its fraction (a half already
  // added) lies within slack of a whole number.
  bool in_doubt(int64_t fixed) const {
    return static_cast<uint32_t>(static_cast<uint64_t>(fixed) + slack_) <= 2 * slack_;
  }

 private:
  int32_t cx_;
  int32_t cy_;
  long double sin_;
  long double cos_;
  uint32_t slack_ = 0;
  int64_t u_step_ = 0;
  int64_t v_step_ = 0;
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
            first_where([hi](int64_t v) { return v < hi ? false : true; })};
  }
  return {first_where([hi](int64_t v) { return v < hi; }),
          first_where([lo](int64_t v) { return v < lo; })};
}

// One destination row: its fixed-point start values and the columns that map inside the
// source.
struct RotatedRow {
  int64_t u0;
  int64_t v0;
  int32_t first;
  int32_t last;
  bool wide_reads;  // every source pixel it reads has a byte after it inside the bitmap
};

// Every pixel's value as the long double formula gives it; for centres so far off that the
// fixed-point values would not fit.
void rotate_exactly(Bitmap24& dst, const Bitmap24& src, const Rotation& rotation, int32_t width,
                    int32_t height) {
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* out = dst.row(y);
    for (int32_t x = 0; x < width; ++x) {
      int64_t u;
      int64_t v;
      if (!rotation.exact(x, y, u, v) || u < 0 || u >= width || v < 0 || v >= height) continue;
      const uint8_t* p = src.row(static_cast<int32_t>(v)) + static_cast<size_t>(u) * 3;
      std::memcpy(out + static_cast<size_t>(x) * 3, p, 3);
    }
  }
}

}  // namespace

void RotateBitmap(Bitmap24& dst, const Bitmap24& src, int32_t cx, int32_t cy, long double theta) {
  const int32_t width = std::min(dst.width(), src.width());
  const int32_t height = std::min(dst.height(), src.height());
  if (width <= 0 || height <= 0) return;
  const Rotation rotation(cx, cy, theta, width);
  if (!rotation.finite()) return;  // no pixel has a value
  // Fixed point holds values below 2^31 with room for the steps: any picture with its centre
  // anywhere near it.
  constexpr int64_t kFixedReach = int64_t{1} << 28;
  auto far_off = [](int64_t v) { return v <= -kFixedReach || v >= kFixedReach; };
  if (far_off(cx) || far_off(cy) || far_off(int64_t{width} - cx) ||
      far_off(int64_t{height} - cy)) {
    rotate_exactly(dst, src, rotation, width, height);
    return;
  }

  const int64_t u_step = rotation.u_step();
  const int64_t v_step = rotation.v_step();
  const size_t stride = src.stride();
  const uint8_t* pixels = src.data();
  // Whether a 4-byte read at the last pixel of the last row stays inside the bitmap.
  const bool padded = stride > static_cast<size_t>(width) * 3 || src.height() > height ||
                      src.width() > width;

  // The value at column x of a row, exactly: fixed point unless that is in doubt.
  auto value_at = [&](const RotatedRow& r, int32_t x, int32_t y, int64_t& u, int64_t& v) {
    const int64_t fu = r.u0 + int64_t{x} * u_step;
    const int64_t fv = r.v0 + int64_t{x} * v_step;
    if (rotation.in_doubt(fu) || rotation.in_doubt(fv)) return rotation.exact(x, y, u, v);
    u = fu >> kFractionBits;
    v = fv >> kFractionBits;
    return true;
  };

  // Rounding keeps order, so along a row u and v are monotonic in x and the columns that map
  // inside the source form one run, found by bisection.
  std::vector<RotatedRow> rows(static_cast<size_t>(height));
  for (int32_t y = 0; y < height; ++y) {
    RotatedRow& r = rows[static_cast<size_t>(y)];
    rotation.row_start(y, r.u0, r.v0);
    auto u_of = [&](int32_t x) {
      int64_t u, v;
      if (value_at(r, x, y, u, v)) return u;
      return r.u0 + int64_t{x} * u_step < 0 ? std::numeric_limits<int64_t>::min()
                                            : std::numeric_limits<int64_t>::max();
    };
    auto v_of = [&](int32_t x) {
      int64_t u, v;
      if (value_at(r, x, y, u, v)) return v;
      return r.v0 + int64_t{x} * v_step < 0 ? std::numeric_limits<int64_t>::min()
                                            : std::numeric_limits<int64_t>::max();
    };
    const auto [u_first, u_last] =
        columns_within(width, rotation.increasing_u(), 0, width, u_of);
    const auto [v_first, v_last] =
        columns_within(width, rotation.increasing_v(), 0, height, v_of);
    r.first = std::max(u_first, v_first);
    r.last = std::min(u_last, v_last);
    r.wide_reads = true;
    if (!padded && r.first < r.last) {
      // The row may reach the very last source byte only if its u and v ranges hold the
      // last column and the last row.
      const int64_t u_a = u_of(r.first), u_b = u_of(r.last - 1);
      const int64_t v_a = v_of(r.first), v_b = v_of(r.last - 1);
      r.wide_reads = std::max(u_a, u_b) < width - 1 || std::max(v_a, v_b) < height - 1;
    }
  }

  // Walked in tiles: a rotated row runs across many source rows, and a tile keeps the source
  // rows it reads in cache.
  constexpr int32_t kTile = 64;
  for (int32_t tile_y = 0; tile_y < height; tile_y += kTile) {
    const int32_t tile_bottom = std::min(tile_y + kTile, height);
    for (int32_t tile_x = 0; tile_x < width; tile_x += kTile) {
      for (int32_t y = tile_y; y < tile_bottom; ++y) {
        const RotatedRow& r = rows[static_cast<size_t>(y)];
        const int32_t x0 = std::max(tile_x, r.first);
        const int32_t x1 = std::min(tile_x + kTile, r.last);
        if (x0 >= x1) continue;
        uint8_t* out = dst.row(y);
        int64_t fu = r.u0 + int64_t{x0} * u_step;
        int64_t fv = r.v0 + int64_t{x0} * v_step;
        // Every pixel but the row's last moves as a 4-byte word whose fourth byte lands on the
        // next pixel, which is written later.
        const int32_t wide_end = r.wide_reads ? std::min(x1, r.last - 1) : x0;
        int32_t x = x0;
        for (; x < wide_end; ++x, fu += u_step, fv += v_step) {
          int64_t u = fu >> kFractionBits;
          int64_t v = fv >> kFractionBits;
          if (rotation.in_doubt(fu) || rotation.in_doubt(fv)) {
            if (!rotation.exact(x, y, u, v) || u < 0 || u >= width || v < 0 || v >= height)
              continue;
          }
          std::memcpy(out + static_cast<size_t>(x) * 3,
                      pixels + static_cast<size_t>(v) * stride + static_cast<size_t>(u) * 3, 4);
        }
        for (; x < x1; ++x, fu += u_step, fv += v_step) {
          int64_t u = fu >> kFractionBits;
          int64_t v = fv >> kFractionBits;
          if (rotation.in_doubt(fu) || rotation.in_doubt(fv)) {
            if (!rotation.exact(x, y, u, v) || u < 0 || u >= width || v < 0 || v >= height)
              continue;
          }
          std::memcpy(out + static_cast<size_t>(x) * 3,
                      pixels + static_cast<size_t>(v) * stride + static_cast<size_t>(u) * 3, 3);
        }
      }
    }
  }
}

}  // namespace ss
