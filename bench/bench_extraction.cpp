// Copying one large media item out of a saver through the real file system: the throughput, and
// the resident memory it costs, which must not grow with the item's length.
//   bench_extraction                 a 64 MiB item
//   bench_extraction --item_mib=1024 a 1 GiB item (slow: it writes the whole GiB)
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "show/media_extraction.h"

namespace ss {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kItemOffset = 4096;

// A field of /proc/self/status in KiB ("VmHWM:" the peak resident size, "VmRSS:" the current).
int64_t status_kib(std::string_view field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with(field)) return std::atoll(line.c_str() + field.size());
  return -1;
}

class BenchFiles final : public FileSystem {
 public:
  explicit BenchFiles(std::string temp) : temp_(std::move(temp)) {}
  std::unique_ptr<ByteSource> open_read_deny_write(const std::string& p) override {
    return real_.open_read_deny_write(p);
  }
  std::optional<std::string> read_file(const std::string& p) override { return real_.read_file(p); }
  std::unique_ptr<OutputFile> create_file(const std::string& p) override {
    return real_.create_file(p);
  }
  bool replace_file(const std::string& a, const std::string& b) override {
    return real_.replace_file(a, b);
  }
  bool delete_file(const std::string& p) override { return real_.delete_file(p); }
  bool file_exists(const std::string& p) override { return real_.file_exists(p); }
  bool create_folder(const std::string& p) override { return real_.create_folder(p); }
  std::optional<std::string> create_unique_folder(const std::string& parent) override {
    return real_.create_unique_folder(parent);
  }
  bool remove_folder(const std::string& p) override { return real_.remove_folder(p); }
  std::string temp_directory() override { return temp_; }
  std::string user_settings_folder() override { return std::string(); }
  std::string executable_path() override { return real_.executable_path(); }
  char separator() const override { return real_.separator(); }

 private:
  FileSystem& real_ = native_file_system();
  std::string temp_;
};

void BM_ExtractOneItem(benchmark::State& state) {
  const int64_t item_size = state.range(0) << 20;
  const fs::path folder =
      fs::temp_directory_path() / ("ss-bench-extraction-" + std::to_string(std::random_device{}()));
  fs::create_directories(folder / "temp");
  const std::string saver = (folder / "saver.scr").string();
  std::ofstream(saver, std::ios::binary) << "runtime image";
  fs::resize_file(saver, kItemOffset + item_size + 40);  // sparse: reads cost no disk

  TSSFileLocations settings;
  settings.SndCommaList.set_comma_text(std::to_string(kItemOffset));
  settings.SndSizesCommaList.set_comma_text(std::to_string(item_size));
  settings.SndFileNamesCommaList.set_comma_text("item.bin");
  BenchFiles files((folder / "temp" / "").string());

  const int64_t peak_before = status_kib("VmHWM:");
  const int64_t resident_before = status_kib("VmRSS:");
  for (auto _ : state) {
    const std::unique_ptr<ByteSource> exe = files.open_read_deny_write(saver);
    const std::string media_folder = extract_media(*exe, settings, files);
    state.PauseTiming();
    if (fs::file_size(fs::path(media_folder) / "item.bin") != static_cast<uintmax_t>(item_size))
      state.SkipWithError("the copy has the wrong length");
    delete_media(settings, media_folder, files);
    state.ResumeTiming();
  }
  const int64_t peak_after = status_kib("VmHWM:");
  state.SetBytesProcessed(state.iterations() * item_size);
  state.counters["peak_rss_before_KiB"] = static_cast<double>(peak_before);
  state.counters["peak_rss_after_KiB"] = static_cast<double>(peak_after);
  state.counters["peak_rss_delta_KiB"] = static_cast<double>(peak_after - peak_before);
  state.counters["rss_delta_KiB"] = static_cast<double>(status_kib("VmRSS:") - resident_before);
  fs::remove_all(folder);
}

// Takes --item_mib=N out of the arguments; the rest are the benchmark library's.
int64_t take_item_mib(int& argc, char** argv) {
  constexpr std::string_view kFlag = "--item_mib=";
  int64_t mib = 64;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.starts_with(kFlag))
      mib = std::atoll(argv[i] + kFlag.size());
    else
      argv[kept++] = argv[i];
  }
  argc = kept;
  return mib > 0 && mib < 2048 ? mib : 64;  // sizes are 32-bit in the package
}

}  // namespace
}  // namespace ss

int main(int argc, char** argv) {
  const int64_t item_mib = ss::take_item_mib(argc, argv);
  auto* bench = benchmark::RegisterBenchmark("BM_ExtractOneItem", ss::BM_ExtractOneItem)
                    ->Arg(item_mib)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime();
  if (item_mib >= 256) bench->Iterations(1);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
