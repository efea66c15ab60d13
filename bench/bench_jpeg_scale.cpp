// A camera-sized JPEG shown on a full-HD screen: decoding at full size and then shrinking,
// against letting libjpeg's DCT scaling do most of the shrinking. Both fit the picture into
// 1920 × 1080 by nearest sample, as the slide composer does, and reuse their buffers.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "gfx/bitmap24.h"
#include "common/jpeg_encoder.h"
#include "package/bitmap_graphic.h"
#include "package/jpeg_graphic.h"

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
constexpr int kScreenW = 1920;
constexpr int kScreenH = 1080;

// A photograph stand-in: a smooth graded sky with a sun, a wavy horizon, and below it a field
// of stripes with grain, so that half of the blocks carry detail for the entropy coder.
ss::Bitmap24 procedural_picture() {
  ss::Bitmap24 image(kWidth, kHeight);
  uint32_t noise = 12345;
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* p = image.row(y);
    for (int x = 0; x < kWidth; ++x, p += 3) {
      noise = noise * 1664525u + 1013904223u;
      const int grain = static_cast<int>(noise >> 29);
      const double horizon =
          kHeight * (0.45 + 0.08 * std::sin(x / 700.0) + 0.03 * std::sin(x / 97.0));
      const double sun = std::hypot(x - kWidth * 0.7, y - kHeight * 0.2);
      if (y < horizon) {
        p[0] = static_cast<uint8_t>(255 - y * 80 / kHeight);
        p[1] = static_cast<uint8_t>(180 - y * 60 / kHeight);
        p[2] = static_cast<uint8_t>(90 + y * 60 / kHeight);
        if (sun < 300) p[0] = 120, p[1] = 230, p[2] = 255;
      } else {
        const double depth = (y - horizon) / (kHeight - horizon);
        const int stripe = static_cast<int>(40 * std::sin(x / (13.0 + 30 * depth) + y / 5.0));
        p[0] = static_cast<uint8_t>(40 + grain * 2);
        p[1] = static_cast<uint8_t>(110 + stripe + grain * 3);
        p[2] = static_cast<uint8_t>(60 + stripe / 2 + grain * 2);
      }
    }
  }
  return image;
}

const std::vector<uint8_t>& camera_jpeg() {
  static const std::vector<uint8_t> jpeg = ss::encode_jpeg(procedural_picture(), 90);
  return jpeg;
}

// The picture's size fitted into the screen with its aspect ratio kept.
ss::Rect fitted_rect() {
  if (static_cast<double>(kWidth) / kScreenW > static_cast<double>(kHeight) / kScreenH)
    return {0, 0, kScreenW, static_cast<int32_t>(std::lround(double{kHeight} * kScreenW / kWidth))};
  return {0, 0, static_cast<int32_t>(std::lround(double{kWidth} * kScreenH / kHeight)), kScreenH};
}

void decode_and_fit(benchmark::State& state, int eighths) {
  const auto& jpeg = camera_jpeg();
  const ss::Rect fit = fitted_rect();
  ss::Bitmap24 decoded;
  ss::Bitmap24 screen(fit.width(), fit.height());
  for (auto _ : state) {
    ss::decode_jpeg(jpeg, eighths, decoded);
    ss::stretch_nearest(decoded, screen, fit);
    benchmark::DoNotOptimize(screen.data());
  }
  state.counters["jpeg_bytes"] = static_cast<double>(jpeg.size());
  state.counters["decoded_px"] = static_cast<double>(decoded.width()) * decoded.height();
  state.counters["scale_eighths"] = eighths;
}

void BM_FullDecodeThenFit(benchmark::State& state) {
  decode_and_fit(state, 8);
}

void BM_DctScaledDecodeThenFit(benchmark::State& state) {
  const ss::Rect fit = fitted_rect();
  decode_and_fit(state, ss::jpeg_scale_for(kWidth, kHeight, fit.width(), fit.height()));
}

BENCHMARK(BM_FullDecodeThenFit)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DctScaledDecodeThenFit)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
