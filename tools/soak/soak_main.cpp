// A long show on the headless platform: a saver of JPEG (baseline and progressive), bitmap and
// icon pictures with a caption and a music file, shown slide after slide through every built-in
// style, with the resident set sampled as it goes. A show that keeps its memory flat prints the
// same RSS row after row; the run fails when the last sample exceeds the first by more than the
// allowance (under valgrind, whose freed-block queue grows the resident set, pass
// --rss-allowance none).
//   soak [--slides N] [--sample N] [--screen WxH] [--rss-allowance KIB|none]
//   (defaults 20000, 1000, 320x240, 4096)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "gfx/bitmap24.h"
#include "base/random.h"
#include "common/bmp_encoder.h"
#include "common/jpeg_encoder.h"
#include "package/image_record.h"
#include "package/settings_stream.h"
#include "package/trailer.h"
#include "platform/headless/headless_platform.h"
#include "show/input_hook.h"
#include "show/saver_mode.h"
#include "show/show_form.h"
#include "effects/style_table.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// Growth of the resident set between the first sample and the last that still counts as flat:
// the allocator keeps some slack, a leak of one slide bitmap per slide does not fit in it.
constexpr long kFlatAllowanceKiB = 4096;

struct Options {
  int slides = 20000;
  int sample = 1000;
  ss::Point screen{320, 240};
  std::optional<long> rss_allowance_kib = kFlatAllowanceKiB;
};

Options parse_options(int argc, char** argv) {
  Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    const std::string value = argv[i + 1];
    if (flag == "--slides") {
      o.slides = std::stoi(value);
    } else if (flag == "--sample") {
      o.sample = std::stoi(value);
    } else if (flag == "--rss-allowance") {
      o.rss_allowance_kib = value == "none" ? std::nullopt : std::optional<long>(std::stol(value));
    } else if (flag == "--screen") {
      o.screen = {std::stoi(value), std::stoi(value.substr(value.find('x') + 1))};
    } else {
      std::fprintf(stderr,
                   "usage: soak [--slides N] [--sample N] [--screen WxH] "
                   "[--rss-allowance KIB|none]\n");
      std::exit(2);
    }
  }
  if (o.sample <= 0) o.sample = 1;
  return o;
}

long resident_kib() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

ss::Bitmap24 pattern(int32_t w, int32_t h, int seed) {
  ss::Bitmap24 image(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      image.set_pixel(x, y,
                      ss::rgb(static_cast<uint8_t>(x * (seed + 1)), static_cast<uint8_t>(y * 3),
                              static_cast<uint8_t>((x ^ y) * seed)));
  return image;
}

Bytes picture_stream(const std::string& graphic_class, const Bytes& data, int32_t w, int32_t h) {
  Bytes payload{static_cast<uint8_t>(graphic_class.size())};
  payload.insert(payload.end(), graphic_class.begin(), graphic_class.end());
  const auto n = static_cast<uint32_t>(data.size());
  for (int shift = 0; shift < 32; shift += 8) payload.push_back(static_cast<uint8_t>(n >> shift));
  payload.insert(payload.end(), data.begin(), data.end());
  return ss::write_image_stream(w, h, payload);
}

// Pictures smaller and larger than the screen, so that some are shrunk and some centred.
void write_saver(const fs::path& path, ss::Point screen) {
  Bytes file(4096, 0x90);
  const int64_t start = static_cast<int64_t>(file.size());
  ss::TSSFileLocations s;
  s.Ver = "photo";
  s.Interval = 1;
  s.lShowMouseCursor = true;
  s.Text = "Soak";
  for (int style = 1; style <= ss::kLastBuiltInStyle; ++style)
    s.EffectCommaList.items().push_back(std::to_string(style));
  auto add_picture = [&](const Bytes& stream) {
    s.PicCommaList.items().push_back(std::to_string(file.size()));
    file.insert(file.end(), stream.begin(), stream.end());
  };
  const ss::Bitmap24 big = pattern(screen.x * 3 / 2, screen.y * 3 / 2, 1);
  const ss::Bitmap24 small = pattern(screen.x / 2 + 3, screen.y / 3 + 1, 2);
  add_picture(picture_stream("TJPEGImage", ss::encode_jpeg(big, 80), big.width(), big.height()));
  add_picture(picture_stream("TJPEGImage",
                             ss::encode_jpeg(small, {.quality = 70, .progressive = true}),
                             small.width(), small.height()));
  add_picture(picture_stream("TBitmap", ss::encode_bmp(small), small.width(), small.height()));
  s.SndCommaList.items().push_back(std::to_string(file.size()));
  s.SndSizesCommaList.items().push_back("3000");
  s.SndFileNamesCommaList.items().push_back("soak.mid");
  file.resize(file.size() + 3000, 'M');
  const int64_t settings_at = static_cast<int64_t>(file.size());
  const Bytes stream = ss::write_settings_stream(s);
  file.insert(file.end(), stream.begin(), stream.end());
  const std::string trailer =
      ss::format_trailer(static_cast<int64_t>(file.size()) - start, settings_at);
  file.insert(file.end(), trailer.begin(), trailer.end());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = parse_options(argc, argv);
  const fs::path root =
      fs::temp_directory_path() / ("ss-soak-" + std::to_string(std::random_device{}()));
  fs::create_directories(root / "tmp");
  write_saver(root / "saver.scr", options.screen);

  ss::set_random_seed(0);
  ss::set_saver_mode(ss::smShow);
  ss::show_process_state() = ss::ShowProcessState{};
  ss::HeadlessConfig config;
  config.screen_size = options.screen;
  config.executable_path = (root / "saver.scr").string();
  config.temp_directory = (root / "tmp").string() + "/";
  config.run_limit_ms = uint64_t{1} << 62;
  auto platform = std::make_unique<ss::HeadlessPlatform>(config);
  auto form = std::make_unique<ss::TfrmScrn>(*platform);

  std::printf("%d slides through styles 1-%d on a %dx%d screen\n\n", options.slides,
              ss::kLastBuiltInStyle, options.screen.x, options.screen.y);
  std::printf("%8s %12s %10s %10s\n", "slides", "virtual s", "RSS KiB", "wall s");
  const auto began = std::chrono::steady_clock::now();
  int slides = 0;
  long first_rss = -1, last_rss = -1;
  form->PShow().OnComplete = [&](ss::TCustomTransitionView&) {
    platform->log().clear();  // the log is the test's record, not the show's memory
    ++slides;
    if (slides % options.sample != 0 && slides != options.slides) return;
    last_rss = resident_kib();
    if (first_rss < 0) first_rss = last_rss;
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - began;
    std::printf("%8d %12.1f %10ld %10.1f\n", slides, platform->now_ms() / 1000.0, last_rss,
                wall.count());
    std::fflush(stdout);
    if (slides >= options.slides) platform->app().end_run();
  };
  platform->app().set_run_limit(config.run_limit_ms);
  platform->application().run();

  const std::vector<std::string> errors = platform->app().errors();
  form.reset();
  platform.reset();
  fs::remove_all(root);

  for (const std::string& e : errors) std::printf("error: %s\n", e.c_str());
  const long growth = last_rss - first_rss;
  std::printf("\nRSS growth from the first sample to the last: %ld KiB", growth);
  if (options.rss_allowance_kib) std::printf(" (allowed %ld)", *options.rss_allowance_kib);
  std::printf("\n");
  const bool flat = !options.rss_allowance_kib || growth <= *options.rss_allowance_kib;
  if (slides < options.slides || !errors.empty() || !flat) {
    std::printf("FAILED: %d of %d slides\n", slides, options.slides);
    return 1;
  }
  return 0;
}
