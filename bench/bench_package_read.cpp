// Opening a saver with 10,000 pictures: the trailer, the settings stream, and every picture's
// offset. Target: well under 50 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "package/class_registry.h"
#include "package/settings_stream.h"
#include "package/trailer.h"
#include "platform/files.h"

namespace {

std::string write_saver_with_pictures(int count) {
  ss::TSSFileLocations s;
  s.Ver = "photo";
  for (int i = 0; i <= 126; ++i) s.EffectCommaList.items().push_back(std::to_string(i));
  const int64_t runtime_size = 699904;
  for (int i = 0; i < count; ++i) {
    s.PicCommaList.items().push_back(std::to_string(runtime_size + int64_t{i} * 42003));
    s.PicFileNamesCommaList.items().push_back("picture " + std::to_string(i) + ".jpg");
    s.DescriptCommaList.items().push_back("A description of picture " + std::to_string(i));
  }
  const std::vector<uint8_t> settings = ss::write_settings_stream(s);
  // The pictures themselves are not read when the saver starts, so a sparse gap stands for them.
  const int64_t settings_offset = runtime_size + int64_t{count} * 42003;
  const std::string path =
      (std::filesystem::temp_directory_path() / "bench-package-read.saver").string();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.seekp(settings_offset);
  out.write(reinterpret_cast<const char*>(settings.data()), static_cast<std::streamsize>(settings.size()));
  out << ss::format_trailer(settings_offset + static_cast<int64_t>(settings.size()) - runtime_size,
                            settings_offset);
  return path;
}

void BM_OpenSaverWith10000Pictures(benchmark::State& state) {
  const std::string path = write_saver_with_pictures(10000);
  int64_t checksum = 0;
  for (auto _ : state) {
    auto file = ss::native_file_system().open_read_deny_write(path);
    const auto settings_offset = ss::read_settings_offset(*file);
    file->seek(*settings_offset);
    ss::TSSFileLocations settings;
    ss::read_stream_into(*file, settings);
    for (int32_t i = 0; i < settings.PicCommaList.count(); ++i)
      checksum += settings.PicCommaList.integer(i);
  }
  benchmark::DoNotOptimize(checksum);
  std::filesystem::remove(path);
}
BENCHMARK(BM_OpenSaverWith10000Pictures)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
