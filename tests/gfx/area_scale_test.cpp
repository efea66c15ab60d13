#include "gfx/area_scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "gfx/raster.h"

namespace ss {
namespace {

// The exact area mean on a shrunk axis, the centre sample on the other, in doubles: the
// definition the fixed-point filter must meet within ±1.
double reference(const Bitmap24& src, const Rect& dst_rect, int32_t x, int32_t y, int c) {
  auto weights = [](int64_t i, int64_t n, int64_t s) {
    std::vector<std::pair<int64_t, double>> out;
    if (n >= s) {
      out.push_back({(2 * i + 1) * s / (2 * n), 1.0});
      return out;
    }
    const double a = static_cast<double>(i) * s / n;
    const double b = static_cast<double>(i + 1) * s / n;
    for (auto k = static_cast<int64_t>(std::floor(a)); k < b; ++k) {
      const double overlap = std::min<double>(b, k + 1) - std::max<double>(a, k);
      if (overlap > 0) out.push_back({k, overlap * n / s});
    }
    return out;
  };
  double sum = 0;
  for (const auto& [sy, wy] : weights(y - dst_rect.top, dst_rect.height(), src.height()))
    for (const auto& [sx, wx] : weights(x - dst_rect.left, dst_rect.width(), src.width()))
      sum += wy * wx * src.row(static_cast<int32_t>(sy))[3 * sx + c];
  return sum;
}

Bitmap24 noise(int32_t w, int32_t h, uint32_t seed) {
  std::mt19937 rng(seed);
  Bitmap24 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t i = 0; i < 3 * w; ++i) b.row(y)[i] = static_cast<uint8_t>(rng());
  return b;
}

TEST(AreaScale, EveryPixelIsWithinOneOfTheExactMean) {
  std::mt19937 rng(5);
  auto pick = [&](int32_t lo, int32_t hi) {
    return lo + static_cast<int32_t>(rng() % (hi - lo + 1));
  };
  for (int round = 0; round < 60; ++round) {
    const Bitmap24 src = noise(pick(1, 90), pick(1, 70), static_cast<uint32_t>(round));
    // Mostly shrinking, sometimes enlarging one axis, sometimes hanging over the edges.
    const Rect dst_rect{pick(-6, 3), pick(-6, 3), 0, 0};
    const Rect r{dst_rect.left, dst_rect.top, dst_rect.left + pick(1, src.width() + 8),
                 dst_rect.top + pick(1, src.height() + 8)};
    Bitmap24 dst(pick(1, 60), pick(1, 60));
    fill(dst, dst.bounds(), rgb(1, 2, 3));
    scale_area(src, dst, r);
    SCOPED_TRACE(testing::Message() << src.width() << "x" << src.height() << " onto " << r.left
                                    << "," << r.top << " " << r.width() << "x" << r.height());
    int worst = 0;
    for (int32_t y = 0; y < dst.height(); ++y)
      for (int32_t x = 0; x < dst.width(); ++x) {
        const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        for (int c = 0; c < 3; ++c) {
          const int got = dst.row(y)[3 * x + c];
          if (!inside) {
            ASSERT_EQ(got, 3 - c) << "outside the target at " << x << "," << y;
            continue;
          }
          const double want = reference(src, r, x, y, c);
          worst = std::max(worst, static_cast<int>(std::ceil(std::abs(got - want) - 0.5)));
        }
      }
    EXPECT_LE(worst, 1);
  }
}

TEST(AreaScale, FlatAreasComeOutExact) {
  for (const Color c : {rgb(0, 0, 0), rgb(255, 255, 255), rgb(1, 128, 254), rgb(77, 200, 13)}) {
    Bitmap24 src(997, 601);
    fill(src, src.bounds(), c);
    for (const Rect r :
         {Rect{0, 0, 269, 162}, Rect{0, 0, 31, 600}, Rect{0, 0, 1, 1}, Rect{0, 0, 996, 5}}) {
      Bitmap24 dst(r.width(), r.height());
      scale_area(src, dst, r);
      for (int32_t y = 0; y < dst.height(); ++y)
        for (int32_t x = 0; x < dst.width(); ++x) ASSERT_EQ(dst.pixel(x, y), c);
    }
  }
}

// The energy of a picture's departure from its own mean.
double ac_energy(const Bitmap24& b) {
  double sum = 0, squares = 0;
  const double n = 3.0 * b.width() * b.height();
  for (int32_t y = 0; y < b.height(); ++y)
    for (int32_t i = 0; i < 3 * b.width(); ++i) {
      sum += b.row(y)[i];
      squares += static_cast<double>(b.row(y)[i]) * b.row(y)[i];
    }
  return squares / n - (sum / n) * (sum / n);
}

TEST(AreaScale, FineDetailShrunkFadesInsteadOfAliasing) {
  // A one-pixel checkerboard and a zone plate whose rings reach the pixel pitch, shrunk 3.7
  // times: everything finer than the new pitch is aliasing energy when it survives.
  Bitmap24 checker(740, 370);
  Bitmap24 zone(740, 370);
  for (int32_t y = 0; y < 370; ++y)
    for (int32_t x = 0; x < 740; ++x) {
      const uint8_t v = ((x + y) & 1) ? 255 : 0;
      checker.set_pixel(x, y, rgb(v, v, v));
      const double r2 = (x - 370.0) * (x - 370.0) + (y - 185.0) * (y - 185.0);
      const auto z = static_cast<uint8_t>(127.5 + 127.5 * std::cos(3.14159265 * r2 / 740.0));
      zone.set_pixel(x, y, rgb(z, z, z));
    }
  const Rect r{0, 0, 200, 100};
  for (const Bitmap24* src : {&checker, &zone}) {
    Bitmap24 averaged(200, 100);
    Bitmap24 nearest(200, 100);
    Bitmap24 exact(200, 100);
    scale_area(*src, averaged, r);
    stretch_copy(nearest, r, *src, src->bounds());
    for (int32_t y = 0; y < 100; ++y)
      for (int32_t x = 0; x < 200; ++x) {
        const auto v = static_cast<uint8_t>(std::lround(reference(*src, r, x, y, 0)));
        exact.set_pixel(x, y, rgb(v, v, v));
      }
    EXPECT_LE(ac_energy(averaged), ac_energy(exact) + 1.0);
    // The sampled picture keeps the aliases: the check above would catch them.
    EXPECT_GT(ac_energy(nearest), ac_energy(exact) + 100.0);
  }
}

TEST(AreaScale, WithoutShrinkingItIsTheNearestPixelStretch) {
  const Bitmap24 src = noise(37, 23, 9);
  for (const Rect r : {Rect{0, 0, 37, 23}, Rect{0, 0, 80, 50}, Rect{-5, 3, 101, 30}}) {
    Bitmap24 averaged(60, 40);
    Bitmap24 nearest(60, 40);
    scale_area(src, averaged, r);
    stretch_copy(nearest, r, src, src.bounds());
    EXPECT_EQ(averaged, nearest);
  }
}

}  // namespace
}  // namespace ss
