#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "effects/pixel_routines.h"

namespace ss {

namespace {

// Rounds to the nearest integer, ties to even, in the current (round-to-nearest) mode: adding
// 1.5 · 2^(digits − 1) leaves no fraction bits, so the addition itself does the rounding. Exact
// for |v| < 2^(digits − 2).
inline long double round_half_even(long double v) {
  static const long double kShift = std::ldexp(1.5L, std::numeric_limits<long double>::digits - 1);
  return (v + kShift) - kShift;
}

constexpr int kFractionBits = 32;
constexpr uint64_t kOne = uint64_t{1} << kFractionBits;
constexpr long double kFixedOne = static_cast<long double>(kOne);

// True when the fraction of a fixed-point value lies within slack of a whole number.
inline bool doubtful(int64_t fixed, uint32_t slack) {
  return static_cast<uint32_t>(static_cast<uint64_t>(fixed) + slack) <= 2 * slack;
}

// The rotation of one picture: u = nearest(dx·cos θ − dy·sin θ) + cx and v = nearest(dx·sin θ +
// dy·cos θ) + cy with the long double roundings of the formula. exact() evaluates the products
// and sums as written (a − b rounds as a + (−b)).
//
// Along a row the values grow by cos θ and sin θ per column, so rows are walked in 32.32 fixed
// point, with the half for rounding and the centre folded into the start so that the nearest
// integer is the top half. The fixed-point value strays from the long double one by less than
// 1 + x / 2 units of 2^-32 at column x (the start and the steps are rounded to the nearest unit,
// and the long double roundings add at most half a unit), so wherever its fraction lies farther
// than `slack` from a whole number the fixed-point rounding is the exact one; the rare columns
// closer than that (in_doubt) are evaluated in long double.
class Rotation {
 public:
  Rotation(int32_t cx, int32_t cy, long double theta, int32_t width)
      : cx_(cx),
        cy_(cy),
        sin_(std::sin(theta)),
        cos_(std::cos(theta)),
        slack_(static_cast<uint32_t>(width) + 16),
        u_step_(finite() ? std::llround(cos_ * kFixedOne) : 0),
        v_step_(finite() ? std::llround(sin_ * kFixedOne) : 0) {}

  bool finite() const { return std::isfinite(sin_) && std::isfinite(cos_); }
  bool increasing_u() const { return cos_ >= 0; }
  bool increasing_v() const { return sin_ >= 0; }
  int64_t u_step() const { return u_step_; }
  int64_t v_step() const { return v_step_; }
  uint32_t slack() const { return slack_; }

  // The long double values at column x of row y; false when they are far beyond any pixel.
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

  // The fixed-point values of column 0 of row y.
  void row_start(int32_t y, int64_t& u0, int64_t& v0) const {
    const auto dx = static_cast<long double>(-int64_t{cx_});
    const auto dy = static_cast<long double>(int64_t{y} - cy_);
    constexpr int64_t kHalf = int64_t{1} << (kFractionBits - 1);
    u0 = std::llround((dx * cos_ + -(dy * sin_)) * kFixedOne) + kHalf +
         static_cast<int64_t>(static_cast<uint64_t>(int64_t{cx_}) << kFractionBits);
    v0 = std::llround((dx * sin_ + dy * cos_) * kFixedOne) + kHalf +
         static_cast<int64_t>(static_cast<uint64_t>(int64_t{cy_}) << kFractionBits);
  }

  // True when the fraction of a fixed-point value lies within slack of a whole number, where
  // the long double value may round the other way.
  bool in_doubt(int64_t fixed) const { return doubtful(fixed, slack_); }

 private:
  int32_t cx_;
  int32_t cy_;
  long double sin_;
  long double cos_;
  uint32_t slack_;
  int64_t u_step_;
  int64_t v_step_;
};

// The first x in [0, n] where pred holds, for a pred that is false and then true along x (and
// taken as true at n). The search starts from a hint, the answer of the row above, which
// differs from this row's by a few columns at most; it gallops outward and bisects the last
// stretch.
template <class Pred>
int32_t first_true_near(int32_t n, int32_t hint, Pred pred) {
  auto holds = [&](int32_t x) { return x >= n || pred(x); };
  hint = std::clamp(hint, 0, n);
  int32_t a;  // pred(a − 1) is false, or a = 0
  int32_t b;  // pred(b) holds
  int32_t step = 1;
  if (holds(hint)) {
    b = hint;
    while (true) {
      const int32_t probe = b - step;
      if (probe < 0) {
        a = 0;
        break;
      }
      if (!pred(probe)) {
        a = probe + 1;
        break;
      }
      b = probe;
      step = std::min(step * 2, n);
    }
  } else {
    a = hint + 1;
    while (true) {
      const int32_t probe = a - 1 + step;
      if (holds(probe)) {
        b = std::min(probe, n);
        break;
      }
      a = probe + 1;
      step = std::min(step * 2, n);
    }
  }
  while (a < b) {
    const int32_t m = a + (b - a) / 2;
    if (pred(m)) {
      b = m;
    } else {
      a = m + 1;
    }
  }
  return a;
}

// One destination row: its fixed-point start values and the columns [first, last) that map
// inside the source.
struct RotatedRow {
  int64_t u0 = 0;
  int64_t v0 = 0;
  int32_t first = 0;
  int32_t last = 0;
  bool wide_reads = true;  // every source pixel it reads has a byte after it inside the bitmap
};

class RotationPainter {
 public:
  RotationPainter(Bitmap24& dst, const Bitmap24& src, const Rotation& rotation, int32_t width,
                  int32_t height)
      : dst_(dst),
        rotation_(rotation),
        width_(width),
        height_(height),
        pixels_(src.data()),
        stride_(src.stride()),
        u_step_(rotation.u_step()),
        v_step_(rotation.v_step()),
        rows_(static_cast<size_t>(height)) {
    // A 4-byte read at the last pixel of the last row leaves the bitmap only without padding.
    const bool padded =
        stride_ > static_cast<size_t>(width) * 3 || src.height() > height || src.width() > width;
    ahead_ = fetch_ahead(v_step_);
    Bounds hints{0, width, 0, width};
    for (int32_t y = 0; y < height; ++y) measure_row(y, padded, hints);
  }

  void paint() {
    const bool runs = runs_pay_off();
    for (int32_t y = 0; y < height_; ++y) {
      const RotatedRow& r = rows_[static_cast<size_t>(y)];
      if (r.first >= r.last) continue;
      if (runs) {
        walk_runs(y);
      } else {
        paint_pixels(y);
      }
    }
  }

 private:
  struct Bounds {
    int32_t u_first, u_last, v_first, v_last;
  };

  // Each pixel reads a source line that the next rows read as well, so the loads of a row meet
  // few new lines at a time and would wait on each in turn. Row k below reads source row v
  // about k / sin θ columns from where this one does (left for a positive sine), so the walk
  // fetches the spot eight rows ahead, as a byte offset from the pixel it reads.
  static intptr_t fetch_ahead(int64_t v_step) {
    if (v_step == 0) return 0;  // no turn: rows are read in order, which needs no help
    constexpr uint64_t kRowsAhead = 8;
    constexpr uint64_t kFarthest = 1024;
    const uint64_t sine = static_cast<uint64_t>(v_step < 0 ? -v_step : v_step);
    const auto bytes = static_cast<intptr_t>(std::min(3 * kRowsAhead * kOne / sine, kFarthest));
    return v_step > 0 ? -bytes : bytes;
  }

  static void prefetch(const uint8_t* at, intptr_t offset) {
    // Integer arithmetic: the address may lie outside the bitmap, which a prefetch ignores.
    __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(at) +
                                                     static_cast<uintptr_t>(offset)));
  }

  // The value at column x of a row, exactly: fixed point unless that is in doubt.
  bool value_at(const RotatedRow& r, int32_t x, int32_t y, int64_t& u, int64_t& v) const {
    const int64_t fu = r.u0 + int64_t{x} * u_step_;
    const int64_t fv = r.v0 + int64_t{x} * v_step_;
    if (rotation_.in_doubt(fu) || rotation_.in_doubt(fv)) return rotation_.exact(x, y, u, v);
    u = fu >> kFractionBits;
    v = fv >> kFractionBits;
    return true;
  }

  // Rounding keeps order, so along a row u and v are monotonic in x and the columns that map
  // inside the source form one run, whose ends are searched near those of the row above.
  void measure_row(int32_t y, bool padded, Bounds& hints) {
    RotatedRow& r = rows_[static_cast<size_t>(y)];
    rotation_.row_start(y, r.u0, r.v0);
    auto value = [&](int32_t x, bool want_u) {
      int64_t u, v;
      if (value_at(r, x, y, u, v)) return want_u ? u : v;
      const int64_t fixed = want_u ? r.u0 + int64_t{x} * u_step_ : r.v0 + int64_t{x} * v_step_;
      return fixed < 0 ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    };
    auto u_of = [&](int32_t x) { return value(x, true); };
    auto v_of = [&](int32_t x) { return value(x, false); };
    auto ends = [&](bool increasing, int64_t limit, auto of, int32_t& first, int32_t& last) {
      if (increasing) {
        first = first_true_near(width_, first, [&](int32_t x) { return of(x) >= 0; });
        last = first_true_near(width_, last, [&](int32_t x) { return of(x) >= limit; });
      } else {
        first = first_true_near(width_, first, [&](int32_t x) { return of(x) < limit; });
        last = first_true_near(width_, last, [&](int32_t x) { return of(x) < 0; });
      }
    };
    ends(rotation_.increasing_u(), width_, u_of, hints.u_first, hints.u_last);
    ends(rotation_.increasing_v(), height_, v_of, hints.v_first, hints.v_last);
    r.first = std::max(hints.u_first, hints.v_first);
    r.last = std::min(hints.u_last, hints.v_last);
    if (!padded && r.first < r.last) {
      // The row reaches the very last source byte only if its u and v ranges hold the last
      // column and the last row.
      const int64_t u_max = std::max(u_of(r.first), u_of(r.last - 1));
      const int64_t v_max = std::max(v_of(r.first), v_of(r.last - 1));
      r.wide_reads = u_max < width_ - 1 || v_max < height_ - 1;
    }
  }

  const uint8_t* source(int64_t u, int64_t v) const {
    return pixels_ + static_cast<size_t>(v) * stride_ + static_cast<size_t>(u) * 3;
  }

  // One pixel, exactly, whatever its fixed-point value.
  void paint_pixel(uint8_t* out, int32_t x, int32_t y) {
    int64_t u, v;
    if (!value_at(rows_[static_cast<size_t>(y)], x, y, u, v)) return;
    if (u < 0 || u >= width_ || v < 0 || v >= height_) return;
    std::memcpy(out + static_cast<size_t>(x) * 3, source(u, v), 3);
  }

  // ---- Runs ----
  //
  // When cos θ is near 1 and sin θ small (the last stretch of a rotation into place), u rises by
  // one and v stays put for several columns at a time: the row is a few runs of consecutive
  // source pixels, copied as such. A run ends where u stalls (its fraction, falling by D per
  // column, wraps) or v rises (its fraction, rising by S, wraps). Rounding can only be in
  // doubt next to such a wrap, so one test per run end covers every pixel.

  bool runs_pay_off() const {
    if (u_step_ <= 0 || v_step_ < 0) return false;
    const uint64_t d = kOne - static_cast<uint64_t>(u_step_);
    const auto s = static_cast<uint64_t>(v_step_);
    // The tests below need both fractions to move by more than twice the slack per column (or
    // not at all); runs are worth it from an average of three pixels.
    const uint64_t least = 2 * uint64_t{rotation_.slack()} + 2;
    return (d == 0 || d >= least) && (s == 0 || s >= least) && d + s <= kOne / 3;
  }

  void walk_runs(int32_t y) {
    const RotatedRow& r = rows_[static_cast<size_t>(y)];
    uint8_t* out = dst_.row(y);
    const uint64_t d = kOne - static_cast<uint64_t>(u_step_);
    const auto s = static_cast<uint64_t>(v_step_);
    constexpr uint64_t kNever = uint64_t{1} << 40;
    const uint32_t slack = rotation_.slack();
    // After v rises its fraction f lies in [0, S), and the next rise comes after
    // ceil((2^32 − f) / S) = q + (f < rem) columns.
    const uint64_t q = s ? kOne / s : 0;
    const uint64_t rem = s ? kOne % s : 0;
    const intptr_t ahead = ahead_;
    int32_t x = r.first;
    while (x < r.last) {
      const int64_t fu0 = r.u0 + int64_t{x} * u_step_;
      const int64_t fv0 = r.v0 + int64_t{x} * v_step_;
      if (rotation_.in_doubt(fu0) || rotation_.in_doubt(fv0)) {
        paint_pixel(out, x++, y);
        continue;
      }
      int64_t u = fu0 >> kFractionBits;
      const uint8_t* line = source(0, fv0 >> kFractionBits);
      // Columns left (this one included) before u stalls and before v rises.
      uint64_t u_left = d ? static_cast<uint32_t>(fu0) / d + 1 : kNever;
      uint64_t v_left = s ? (kOne - static_cast<uint32_t>(fv0) + s - 1) / s : kNever;
      while (true) {
        const uint64_t n =
            std::min({u_left, v_left, static_cast<uint64_t>(r.last) - static_cast<uint64_t>(x)});
        const auto next = static_cast<int32_t>(x + static_cast<int64_t>(n));
        uint32_t fu = 0;
        uint32_t fv = 0;
        bool doubt = false;
        if (next == r.last) {
          doubt = rotation_.in_doubt(r.u0 + int64_t{next - 1} * u_step_) ||
                  rotation_.in_doubt(r.v0 + int64_t{next - 1} * v_step_);
        } else {
          // Just after a wrap the fraction f of the new column is in [0, S) for v and
          // 2^32 − D + [0, D) for u; both it and the column before are clear of doubt when f
          // keeps slack from either end of that range.
          if (n == v_left) {
            fv = static_cast<uint32_t>(r.v0 + int64_t{next} * v_step_);
            doubt |= static_cast<uint32_t>(fv - slack - 1) >= s - 2 * slack - 1;
          }
          if (n == u_left) {
            fu = static_cast<uint32_t>(r.u0 + int64_t{next} * u_step_);
            doubt |= static_cast<uint32_t>(fu + d - slack - 1) >= d - 2 * slack - 1;
          }
        }
        if (ahead != 0) prefetch(line + static_cast<size_t>(u) * 3, ahead);
        const uint64_t sure = n - (doubt ? 1 : 0);
        if (sure > 0)
          copy_pixels(out + static_cast<size_t>(x) * 3, line + static_cast<size_t>(u) * 3,
                      sure * 3);
        if (doubt) {
          paint_pixel(out, next - 1, y);
          x = next;  // start afresh, testing the next column too
          break;
        }
        x = next;
        if (x == r.last) break;
        u += static_cast<int64_t>(n);
        u_left -= n;
        v_left -= n;
        if (v_left == 0) {
          line += stride_;
          v_left = q + (fv < rem ? 1 : 0);
        }
        if (u_left == 0) {
          --u;
          u_left = fu / d + 1;
        }
      }
    }
  }

  // Copies n >= 3 bytes with at most four moves and nothing outside either range.
  static void copy_pixels(uint8_t* to, const uint8_t* from, size_t n) {
    if (n > 32) {
      std::memcpy(to, from, n);
    } else if (n >= 16) {
      std::memcpy(to, from, 16);
      std::memcpy(to + n - 16, from + n - 16, 16);
    } else if (n >= 8) {
      std::memcpy(to, from, 8);
      std::memcpy(to + n - 8, from + n - 8, 8);
    } else if (n >= 4) {
      std::memcpy(to, from, 4);
      std::memcpy(to + n - 4, from + n - 4, 4);
    } else {
      std::memcpy(to, from, 3);
    }
  }

  // ---- Pixel by pixel ----

  // The columns of row y that map inside the source. Every pixel but the last moves as a 4-byte
  // word whose fourth byte lands on the next pixel, which is written after it.
  void paint_pixels(int32_t y) {
    const RotatedRow& r = rows_[static_cast<size_t>(y)];
    const int32_t x0 = r.first;
    const int32_t x1 = r.last;
    uint8_t* out = dst_.row(y);
    // Locals, not members: the byte stores below could alias any member, which would then be
    // loaded again for every pixel.
    const int64_t du = u_step_;
    const int64_t dv = v_step_;
    const uint32_t slack = rotation_.slack();
    const uint8_t* const pixels = pixels_;
    const size_t stride = stride_;
    const intptr_t ahead = ahead_;
    int64_t fu = r.u0 + int64_t{x0} * du;
    int64_t fv = r.v0 + int64_t{x0} * dv;
    const int32_t wide_end = r.wide_reads ? x1 - 1 : x0;
    uint8_t* to = out + static_cast<size_t>(x0) * 3;
    int32_t x = x0;
    for (; x < wide_end; ++x, to += 3, fu += du, fv += dv) {
      if (doubtful(fu, slack) | doubtful(fv, slack)) {
        paint_pixel(out, x, y);
        continue;
      }
      const uint8_t* from = pixels + static_cast<size_t>(fv >> kFractionBits) * stride +
                            static_cast<size_t>(fu >> kFractionBits) * 3;
      if (ahead != 0) prefetch(from, ahead);
      std::memcpy(to, from, 4);
    }
    for (; x < x1; ++x) paint_pixel(out, x, y);
  }

  Bitmap24& dst_;
  const Rotation& rotation_;
  int32_t width_;
  int32_t height_;
  const uint8_t* pixels_;
  size_t stride_;
  int64_t u_step_;
  int64_t v_step_;
  std::vector<RotatedRow> rows_;
  intptr_t ahead_ = 0;
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
  if (far_off(cx) || far_off(cy) || far_off(int64_t{width} - cx) || far_off(int64_t{height} - cy)) {
    rotate_exactly(dst, src, rotation, width, height);
    return;
  }
  RotationPainter(dst, src, rotation, width, height).paint();
}

}  // namespace ss
