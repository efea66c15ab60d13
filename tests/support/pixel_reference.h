#pragma once
// The documented pixel mappings of the raster routines, evaluated one pixel at a time, as
// references for the row-at-a-time implementations.
#include <cmath>
#include <cstdint>
#include <random>

#include "gfx/bitmap24.h"
#include "gfx/region.h"

namespace ss::testing {

inline Bitmap24 Noise(int32_t w, int32_t h, uint32_t seed) {
  Bitmap24 b(w, h);
  std::mt19937 rng(seed);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w * 3; ++x) b.row(y)[x] = static_cast<uint8_t>(rng());
  return b;
}

// Source coordinate of destination coordinate c on one stretched axis, or -1 when c is not
// covered: pixel i of the extent, counted from the origin, samples s0 + floor((i + 1/2)·sn / n).
inline int64_t StretchSource(int64_t c, int32_t origin, int32_t extent, int32_t s0, int32_t sn,
                             int32_t src_size) {
  const int64_t n = extent < 0 ? -int64_t{extent} : extent;
  const int64_t lo = extent < 0 ? int64_t{origin} + extent : origin;
  if (n == 0 || sn <= 0 || c < lo || c >= lo + n) return -1;
  const int64_t i = extent > 0 ? c - origin : origin - 1 - c;
  const int64_t s = s0 + (2 * i + 1) * sn / (2 * n);
  return s >= 0 && s < src_size ? s : -1;
}

inline Bitmap24 StretchReference(const Bitmap24& before, int32_t dx, int32_t dy, int32_t dw,
                                 int32_t dh, const Bitmap24& src, const Rect& sr,
                                 const Region* clip) {
  Bitmap24 out = before;
  for (int32_t y = 0; y < out.height(); ++y) {
    const int64_t v = StretchSource(y, dy, dh, sr.top, sr.height(), src.height());
    if (v < 0) continue;
    for (int32_t x = 0; x < out.width(); ++x) {
      const int64_t u = StretchSource(x, dx, dw, sr.left, sr.width(), src.width());
      if (u < 0 || (clip && !clip->contains(x, y))) continue;
      out.set_pixel(x, y, src.pixel(static_cast<int32_t>(u), static_cast<int32_t>(v)));
    }
  }
  return out;
}

// u = nearest(dx·cos θ − dy·sin θ) + cx, v = nearest(dx·sin θ + dy·cos θ) + cy in long
// double, ties to even (the default rounding mode).
inline void RotateReference(Bitmap24& dst, const Bitmap24& src, int32_t cx, int32_t cy,
                            long double theta) {
  const long double s = std::sin(theta), c = std::cos(theta);
  for (int32_t y = 0; y < src.height(); ++y) {
    for (int32_t x = 0; x < src.width(); ++x) {
      const long double dx = x - cx, dy = y - cy;
      const long long u = std::llrint(dx * c - dy * s) + cx;
      const long long v = std::llrint(dx * s + dy * c) + cy;
      if (u < 0 || u >= src.width() || v < 0 || v >= src.height()) continue;
      dst.set_pixel(x, y, src.pixel(static_cast<int32_t>(u), static_cast<int32_t>(v)));
    }
  }
}

}  // namespace ss::testing
