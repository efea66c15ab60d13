// The studio's two waits: a style's gallery preview (25 frames at 320 × 180, composed by the
// engine, dithered and encoded as GIF) and the thumbnails of a folder of 200 camera-sized photos
// (decoded at a reduced DCT scale, shrunk and encoded; then read back from the folder's cache).
// Names: BM_StylePreview/<style>, BM_StyleGallery, BM_FolderThumbnails/<photos>,
// BM_FolderThumbnailsCached/<photos>.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "area_resample.h"
#include "common/jpeg_encoder.h"
#include "common/sample_painters.h"
#include "studio_folder.h"
#include "style_preview.h"

namespace {

namespace fs = std::filesystem;

struct PreviewPair {
  ss::Bitmap24 old_image = slidemake::fill_cropped(ss::sample::paint_sunrise(1280, 800), 320, 180);
  ss::Bitmap24 new_image = slidemake::fill_cropped(ss::sample::paint_mosaic(1280, 800), 320, 180);
};

const PreviewPair& preview_pair() {
  static const PreviewPair pair;
  return pair;
}

void BM_StylePreview(benchmark::State& state) {
  const PreviewPair& pair = preview_pair();
  const auto style = static_cast<int32_t>(state.range(0));
  size_t bytes = 0;
  for (auto _ : state)
    bytes = slidemake::render_style_preview(pair.old_image, pair.new_image, style).size();
  state.counters["gif_bytes"] = static_cast<double>(bytes);
}
// One of each family: squeeze, wipe, roll, slide, region bars, curves, dissolve, blend, rotate.
BENCHMARK(BM_StylePreview)
    ->Arg(1)
    ->Arg(5)
    ->Arg(14)
    ->Arg(39)
    ->Arg(58)
    ->Arg(80)
    ->Arg(100)
    ->Arg(118)
    ->Arg(120)
    ->Arg(122)
    ->Arg(127)
    ->Unit(benchmark::kMillisecond);

void BM_StyleGallery(benchmark::State& state) {
  const PreviewPair& pair = preview_pair();
  for (auto _ : state)
    for (int32_t style = 1; style <= 127; ++style)
      benchmark::DoNotOptimize(
          slidemake::render_style_preview(pair.old_image, pair.new_image, style));
  state.counters["ms_per_style"] = benchmark::Counter(
      127, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_StyleGallery)->Unit(benchmark::kSecond)->Iterations(1);

// A folder of photos: one 12-megapixel JPEG under many names, which no cache can tell apart.
class PhotoFolder {
 public:
  explicit PhotoFolder(int count) {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("bench-studio-" + std::to_string(random()));
    fs::create_directories(path_);
    const std::vector<uint8_t> jpeg = ss::encode_jpeg(ss::sample::paint_aurora(4000, 3000), 90);
    for (int i = 0; i < count; ++i) {
      names_.push_back("photo-" + std::to_string(1000 + i) + ".jpg");
      std::ofstream(path_ / names_.back(), std::ios::binary)
          .write(reinterpret_cast<const char*>(jpeg.data()),
                 static_cast<std::streamsize>(jpeg.size()));
    }
  }
  ~PhotoFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }
  const std::vector<std::string>& names() const { return names_; }

 private:
  fs::path path_;
  std::vector<std::string> names_;
};

void open_folder(const PhotoFolder& photos) {
  slidemake::StudioFolder folder(photos.path());
  for (const std::string& name : photos.names()) benchmark::DoNotOptimize(folder.thumbnail(name));
}

void BM_FolderThumbnails(benchmark::State& state) {
  const PhotoFolder photos(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(photos.path() / ".studio");
    state.ResumeTiming();
    open_folder(photos);
  }
}
BENCHMARK(BM_FolderThumbnails)->Arg(200)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_FolderThumbnailsCached(benchmark::State& state) {
  const PhotoFolder photos(static_cast<int>(state.range(0)));
  open_folder(photos);
  for (auto _ : state) open_folder(photos);
}
BENCHMARK(BM_FolderThumbnailsCached)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
