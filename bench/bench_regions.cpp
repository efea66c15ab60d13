// One frame's worth of region and pixel work at 1920 × 1080, the size the saver usually runs at.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <numbers>

#include "base/random.h"
#include "gfx/raster.h"
#include "effects/pixel_routines.h"
#include "effects/region_builders.h"

namespace ss {
namespace {

constexpr int32_t kW = 1920;
constexpr int32_t kH = 1080;

Bitmap24 gradient() {
  Bitmap24 b(kW, kH);
  for (int32_t y = 0; y < kH; ++y)
    for (int32_t i = 0; i < kW * 3; ++i) b.row(y)[i] = static_cast<uint8_t>(i + y);
  return b;
}

void BM_DissolveRegion(benchmark::State& state) {
  const auto p = static_cast<int32_t>(state.range(0));
  set_random_seed(0);
  for (auto _ : state) benchmark::DoNotOptimize(CreateDissolveRegion(kW, kH, p));
}
BENCHMARK(BM_DissolveRegion)->Arg(5)->Arg(50)->Unit(benchmark::kMicrosecond);

// The dissolve style's whole frame: build the region, draw the new image through it.
void BM_DissolveFrame(benchmark::State& state) {
  const Bitmap24 next = gradient();
  Bitmap24 screen(kW, kH);
  set_random_seed(0);
  for (auto _ : state) {
    const auto q = CreateDissolveRegion(kW, kH, 50);
    draw(screen, 0, 0, next, q ? &*q : nullptr);
    benchmark::DoNotOptimize(screen.data());
  }
}
BENCHMARK(BM_DissolveFrame)->Unit(benchmark::kMicrosecond);

void BM_BarsBothAxes(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(CreateBarRegion(1900, 1060, kW, kH, 85, 1, 2));
}
BENCHMARK(BM_BarsBothAxes)->Unit(benchmark::kMicrosecond);

// Ragged column bars: every row is its own band, each holding hundreds of intervals.
void BM_RaggedColumnBars(benchmark::State& state) {
  set_random_seed(0);
  for (auto _ : state) benchmark::DoNotOptimize(CreateRaggedBarRegion(0, kH / 2, kW, kH, 0, 1));
}
BENCHMARK(BM_RaggedColumnBars)->Unit(benchmark::kMicrosecond);

// The triangle grid's union: shifted copies of one polygon region, added whole.
void BM_RegionCopies(benchmark::State& state) {
  const Region cell = CreateTriangleRegion({0, 0}, {kW / 10, 0}, {0, kH / 10});
  for (auto _ : state) {
    RegionBuilder grid;
    for (int32_t r = 0; r < 10; ++r)
      for (int32_t c = 0; c < 10; ++c) grid.add(cell.offset(c * kW / 10, r * kH / 10));
    benchmark::DoNotOptimize(grid.build());
  }
}
BENCHMARK(BM_RegionCopies)->Unit(benchmark::kMicrosecond);

void BM_ScatterBars(benchmark::State& state) {
  set_random_seed(0);
  for (auto _ : state) benchmark::DoNotOptimize(CreateScatterBarRegion(960, 540, kW, kH, 0, 1));
}
BENCHMARK(BM_ScatterBars)->Unit(benchmark::kMicrosecond);

void BM_CurveRegion(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(Region::from_round_rect({-2 * kW, -2 * kH, kW, kH}, 2 * kW, 2 * kH));
}
BENCHMARK(BM_CurveRegion)->Unit(benchmark::kMicrosecond);

void BM_Blend(benchmark::State& state) {
  const Bitmap24 next = gradient();
  Bitmap24 screen(kW, kH);
  for (auto _ : state) {
    BlendBitmaps(screen, next, 37);
    benchmark::DoNotOptimize(screen.data());
  }
}
BENCHMARK(BM_Blend)->Unit(benchmark::kMicrosecond);

// Arg: the progress of the rotation styles; at 90 the rows are copied in runs.
void BM_Rotate(benchmark::State& state) {
  const Bitmap24 next = gradient();
  Bitmap24 screen(kW, kH);
  const auto p = static_cast<int32_t>(state.range(0));
  const long double theta = (100 - p) * std::numbers::pi_v<long double> / 200;
  for (auto _ : state) {
    RotateBitmap(screen, next, kW, kH, theta);
    benchmark::DoNotOptimize(screen.data());
  }
}
BENCHMARK(BM_Rotate)->Arg(50)->Arg(90)->Unit(benchmark::kMicrosecond);

void BM_ZoomStretch(benchmark::State& state) {
  const Bitmap24 next = gradient();
  Bitmap24 screen(kW, kH);
  for (auto _ : state) {
    stretch_copy(screen, Rect{-kW / 2, -kH / 2, kW + kW / 2, kH + kH / 2}, next,
                 Rect{kW / 4, kH / 4, 3 * kW / 4, 3 * kH / 4});
    benchmark::DoNotOptimize(screen.data());
  }
}
BENCHMARK(BM_ZoomStretch)->Unit(benchmark::kMicrosecond);

// Horizontal scalings on every row: Arg is the destination width in 1/10 of the source's
// (the squeeze shrinks, the smear enlarges a strip twenty times).
void BM_RowStretch(benchmark::State& state) {
  const Bitmap24 next = gradient();
  Bitmap24 screen(kW, kH);
  const auto tenths = static_cast<int32_t>(state.range(0));
  const int32_t source_width = tenths > 10 ? kW / 20 : kW;
  const int32_t width = std::min<int32_t>(source_width * tenths / 10, kW);
  for (auto _ : state) {
    stretch_copy(screen, Rect{0, 0, width, kH}, next, Rect{0, 0, source_width, kH});
    benchmark::DoNotOptimize(screen.data());
  }
}
BENCHMARK(BM_RowStretch)->Arg(5)->Arg(9)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ss

BENCHMARK_MAIN();
