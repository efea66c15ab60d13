#include "common/sample_painters.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace ss::sample {
namespace {

uint8_t clamp_byte(double v) { return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0)); }

void put(Bitmap24& b, int x, int y, double r, double g, double bl) {
  uint8_t* p = b.row(y) + x * 3;
  p[0] = clamp_byte(bl);
  p[1] = clamp_byte(g);
  p[2] = clamp_byte(r);
}

}  // namespace

Bitmap24 paint_sunrise(int width, int height) {
  Bitmap24 b(width, height);
  const double sun_x = width * 0.62, sun_y = height * 0.58, sun_r = height * 0.12;
  const double horizon = height * 0.64;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double t = static_cast<double>(y) / height;
      double r = 40 + 215 * t, g = 30 + 120 * t * t, bl = 110 - 60 * t;
      const double d = std::hypot(x - sun_x, y - sun_y);
      if (d < sun_r) {
        r = 255, g = 220, bl = 120;
      } else {
        const double glow = std::exp(-(d - sun_r) / (height * 0.15));
        r += 60 * glow, g += 80 * glow, bl += 20 * glow;
      }
      if (y > horizon) {  // the sea reflects the sky with ripples
        const double ripple = 0.5 + 0.5 * std::sin(x * 0.05 + y * 0.4);
        r = 20 + r * 0.35 * ripple, g = 30 + g * 0.35, bl = 70 + bl * 0.5;
      }
      put(b, x, y, r, g, bl);
    }
  }
  return b;
}

Bitmap24 paint_waves(int width, int height) {
  Bitmap24 b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
      const double w = std::sin(u * 18 + std::sin(v * 7) * 2) + std::sin(v * 23 + u * 5);
      put(b, x, y, 30 + 40 * w, 110 + 60 * v + 30 * w, 170 + 50 * w);
    }
  }
  return b;
}

Bitmap24 paint_mosaic(int width, int height) {
  Bitmap24 b(width, height);
  const int tile = std::max(8, width / 16);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int tx = x / tile, ty = y / tile;
      const uint32_t h = static_cast<uint32_t>(tx * 73856093) ^ static_cast<uint32_t>(ty * 19349663);
      const bool grout = x % tile < 2 || y % tile < 2;
      if (grout) {
        put(b, x, y, 235, 230, 220);
      } else {
        put(b, x, y, 60 + (h & 0x7F), 60 + ((h >> 8) & 0x7F), 90 + ((h >> 16) & 0x7F));
      }
    }
  }
  return b;
}

Bitmap24 paint_aurora(int width, int height) {
  Bitmap24 b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
      const double band = std::exp(-std::pow((v - 0.35 - 0.12 * std::sin(u * 9)) * 9, 2));
      const uint32_t h = (static_cast<uint32_t>(x) * 73856093u) ^ (static_cast<uint32_t>(y) * 19349663u);
      const double star = (h * 2654435761u) % 1500 == 0 ? 200 : 0;
      put(b, x, y, 10 + 40 * band + star, 20 + 200 * band + star, 40 + 90 * band * v + star);
    }
  }
  return b;
}

}  // namespace ss::sample
