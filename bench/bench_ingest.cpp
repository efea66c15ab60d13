// `slidemake build` over 20 real 12 MP photographs: the seconds a build takes, and the saver's
// size against the photos'. The photos are desktop wallpapers (scripts/fetch-bench-photos.sh
// fetches them), scaled up to 4000 x 3000 once and kept under build/bench-photos/12mp/.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>
#include <vips/vips8>

#include "slidemake/manifest.h"
#include "slidemake/package_builder.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPhotos = 20;
constexpr int kWidth = 4000, kHeight = 3000;

const fs::path kFolder = fs::path(SLIDESAVER_SOURCE_DIR) / "build" / "bench-photos";

// The largest picture of each wallpaper first, then the next sizes, until there are enough.
std::vector<fs::path> source_photos() {
  std::vector<std::pair<uintmax_t, fs::path>> found;
  if (!fs::exists(kFolder / "unpacked")) return {};
  for (const auto& item : fs::recursive_directory_iterator(kFolder / "unpacked"))
    if (item.is_regular_file() && item.path().extension() == ".jpg")
      found.push_back({item.file_size(), item.path()});
  std::sort(found.begin(), found.end(),
            [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<fs::path> out;
  for (const auto& [size, path] : found) {
    if (out.size() == kPhotos) break;
    out.push_back(path);
  }
  return out;
}

// 12 MP camera-sized JPEGs made once from the wallpapers.
std::vector<std::string> twelve_megapixel_photos() {
  const fs::path cache = kFolder / "12mp";
  fs::create_directories(cache);
  std::vector<std::string> out;
  const std::vector<fs::path> sources = source_photos();
  for (size_t i = 0; i < sources.size(); ++i) {
    const fs::path target = cache / ("photo-" + std::to_string(i + 1) + ".jpg");
    if (!fs::exists(target)) {
      vips::VImage::thumbnail(sources[i].c_str(), kWidth,
                              vips::VImage::option()
                                  ->set("height", kHeight)
                                  ->set("size", VIPS_SIZE_FORCE)
                                  ->set("crop", VIPS_INTERESTING_CENTRE))
          .jpegsave(target.c_str(), vips::VImage::option()->set("Q", 92));
    }
    out.push_back(target.string());
  }
  return out;
}

double process_cpu_seconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_Ingest(benchmark::State& state) {
  if (VIPS_INIT("bench_ingest") != 0) {
    state.SkipWithError("libvips failed to start");
    return;
  }
  const std::vector<std::string> photos = twelve_megapixel_photos();
  if (photos.size() < kPhotos) {
    state.SkipWithError("no photos: run scripts/fetch-bench-photos.sh first");
    return;
  }
  const fs::path work = fs::temp_directory_path() / "bench-ingest";
  fs::create_directories(work);
  const std::string runtime = (work / "runtime.bin").string();
  std::vector<uint8_t> runtime_bytes(4096, 0x90);
  std::FILE* f = std::fopen(runtime.c_str(), "wb");
  std::fwrite(runtime_bytes.data(), 1, runtime_bytes.size(), f);
  std::fclose(f);

  slidemake::Manifest manifest;
  manifest.settings = slidemake::authoring_settings();
  uintmax_t input_bytes = 0;
  for (const std::string& photo : photos) {
    manifest.pictures.push_back({photo, {}});
    input_bytes += fs::file_size(photo);
  }
  const std::string output = (work / "saver.scr").string();
  slidemake::BuildOptions options;
  options.warn = [](const std::string&) {};
  int64_t saver_bytes = 0;
  const double cpu_before = process_cpu_seconds();
  for (auto _ : state)
    saver_bytes = slidemake::build_saver(manifest, runtime, output, options).file_size;
  // libvips works on several threads: their CPU time, unlike the wall time, does not depend on
  // how busy the machine is.
  state.counters["cpu_s_per_build"] =
      (process_cpu_seconds() - cpu_before) / static_cast<double>(state.iterations());
  state.counters["input_MB"] = static_cast<double>(input_bytes) / 1e6;
  state.counters["saver_MB"] = static_cast<double>(saver_bytes) / 1e6;
  state.counters["saver_vs_input"] =
      static_cast<double>(saver_bytes) / static_cast<double>(input_bytes);
  state.counters["photos_per_s"] =
      benchmark::Counter(kPhotos, benchmark::Counter::kIsIterationInvariantRate);
  fs::remove_all(work);
}
BENCHMARK(BM_Ingest)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
