// Frame composition cost of every built-in style at three points of a transition on full-HD and
// 4K pictures, against one plain copy of a frame (each frame starts with such a copy).
// Names: BM_Style/<style>/<progress>/<width>, BM_CopyFrame/<width>.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "gfx/bitmap24.h"
#include "base/random.h"
#include "effects/update_frame.h"

namespace {

struct Pictures {
  ss::Bitmap24 old_image;
  ss::Bitmap24 new_image;
  ss::Bitmap24 screen;
};

ss::Bitmap24 make_picture(int32_t width, int32_t height, int seed) {
  ss::Bitmap24 image(width, height);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = image.row(y);
    for (int32_t x = 0; x < width; ++x) {
      row[3 * x] = static_cast<uint8_t>(x * seed + y);
      row[3 * x + 1] = static_cast<uint8_t>(y * seed);
      row[3 * x + 2] = static_cast<uint8_t>((x ^ y) + seed);
    }
  }
  return image;
}

// 16:9 pictures, made once per width.
Pictures& pictures_for(int32_t width) {
  static std::map<int32_t, Pictures> cache;
  auto it = cache.find(width);
  if (it == cache.end()) {
    const int32_t height = width * 9 / 16;
    it = cache
             .emplace(width, Pictures{make_picture(width, height, 3),
                                      make_picture(width, height, 7), ss::Bitmap24(width, height)})
             .first;
  }
  return it->second;
}

// With --benchmark_repetitions the fastest run is reported too: on a shared machine it is the
// figure least disturbed by other work.
double fastest(const std::vector<double>& runs) {
  return *std::min_element(runs.begin(), runs.end());
}

void BM_CopyFrame(benchmark::State& state) {
  Pictures& p = pictures_for(static_cast<int32_t>(state.range(0)));
  const size_t bytes = p.screen.stride() * static_cast<size_t>(p.screen.height());
  for (auto _ : state) {
    std::memcpy(p.screen.data(), p.old_image.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_CopyFrame)
    ->Arg(1920)
    ->Arg(3840)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", fastest);

void BM_Style(benchmark::State& state) {
  Pictures& p = pictures_for(static_cast<int32_t>(state.range(2)));
  ss::FrameInputs frame{p.old_image, p.new_image, p.screen};
  frame.style = static_cast<int32_t>(state.range(0));
  frame.progress = static_cast<int32_t>(state.range(1));
  frame.invalidate_frame_area = [](const ss::Rect& r) { benchmark::DoNotOptimize(r); };
  ss::set_random_seed(0);
  for (auto _ : state) {
    ss::UpdateFrame(frame);
    benchmark::ClobberMemory();
  }
}

void style_arguments(benchmark::internal::Benchmark* b) {
  for (int64_t style = 1; style <= 127; ++style)
    for (int64_t progress : {10, 50, 90})
      for (int64_t width : {1920, 3840}) b->Args({style, progress, width});
}
BENCHMARK(BM_Style)
    ->Apply(style_arguments)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", fastest);

}  // namespace

BENCHMARK_MAIN();
