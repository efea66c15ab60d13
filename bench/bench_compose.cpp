// A camera photo shown as a slide, and the area filter that shrinks it, against the
// nearest-pixel stretch that slides used before.
//   BM_ComposeJpeg/<MP>: a JPEG of that many megapixels, made from a real photograph scaled up
//     (scripts/fetch-bench-photos.sh fetches the photographs into build/bench-photos/; without
//     them the benchmark skips and says why), read and composed onto a 1920 × 1080 slide.
//   BM_AreaDownscale / BM_NearestDownscale: 6000 × 4000 onto 1920 × 1280, the filter alone and
//     the stretch it replaces.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "common/jpeg_encoder.h"
#include "gfx/area_scale.h"
#include "gfx/bitmap24.h"
#include "package/bitmap_graphic.h"
#include "package/jpeg_graphic.h"
#include "platform/headless/call_log.h"
#include "platform/headless/headless_text.h"
#include "show/slide_composer.h"

namespace {

namespace fs = std::filesystem;

constexpr ss::Point kScreen{1920, 1080};

fs::path photo_folder() {
  return fs::path(SLIDESAVER_SOURCE_DIR) / "build" / "bench-photos" / "unpacked" / "usr" / "share" /
         "wallpapers";
}

// A photograph (cups on a table, 2560 × 1600) among the wallpapers, most of which are
// paintings, or nothing.
std::optional<fs::path> real_photo() {
  const fs::path photo = photo_folder() / "ColorfulCups" / "contents" / "images" / "2560x1600.jpg";
  std::error_code ec;
  if (!fs::is_regular_file(photo, ec)) return std::nullopt;
  return photo;
}

std::vector<uint8_t> read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Bilinear enlargement: a camera's smooth detail, not the blocks of a nearest-pixel one.
ss::Bitmap24 enlarge(const ss::Bitmap24& src, int32_t w, int32_t h) {
  ss::Bitmap24 out(w, h);
  for (int32_t y = 0; y < h; ++y) {
    const double fy = std::clamp((y + 0.5) * src.height() / h - 0.5, 0.0, src.height() - 1.0);
    const auto y0 = static_cast<int32_t>(fy);
    const int32_t y1 = std::min(y0 + 1, src.height() - 1);
    const double ty = fy - y0;
    uint8_t* o = out.row(y);
    for (int32_t x = 0; x < w; ++x) {
      const double fx = std::clamp((x + 0.5) * src.width() / w - 0.5, 0.0, src.width() - 1.0);
      const auto x0 = static_cast<int32_t>(fx);
      const int32_t x1 = std::min(x0 + 1, src.width() - 1);
      const double tx = fx - x0;
      for (int c = 0; c < 3; ++c) {
        const double top = src.row(y0)[3 * x0 + c] * (1 - tx) + src.row(y0)[3 * x1 + c] * tx;
        const double bottom = src.row(y1)[3 * x0 + c] * (1 - tx) + src.row(y1)[3 * x1 + c] * tx;
        o[3 * x + c] = static_cast<uint8_t>(std::lround(top * (1 - ty) + bottom * ty));
      }
    }
  }
  return out;
}

// A 3:2 camera JPEG of about `megapixels` million pixels, made once and kept beside the photos.
std::optional<std::vector<uint8_t>> camera_jpeg(int megapixels, std::string& why) {
  const std::optional<fs::path> photo = real_photo();
  if (!photo) {
    why = "no photographs in " + photo_folder().string() + ": run scripts/fetch-bench-photos.sh";
    return std::nullopt;
  }
  const auto h = static_cast<int32_t>(std::lround(std::sqrt(megapixels * 1e6 / 1.5)));
  const int32_t w = h * 3 / 2;
  const fs::path cached = fs::path(SLIDESAVER_SOURCE_DIR) / "build" / "bench-photos" /
                          ("camera-" + std::to_string(w) + "x" + std::to_string(h) + ".jpg");
  std::error_code ec;
  if (fs::exists(cached, ec)) return read_file(cached);
  ss::Bitmap24 decoded;
  ss::decode_jpeg(read_file(*photo), 8, decoded);
  // The middle 3:2 of the photo, scaled up to the camera's size.
  int32_t cw = decoded.width(), ch = cw * 2 / 3;
  if (ch > decoded.height()) ch = decoded.height(), cw = ch * 3 / 2;
  ss::Bitmap24 crop(cw, ch);
  for (int32_t y = 0; y < ch; ++y)
    std::copy_n(decoded.row((decoded.height() - ch) / 2 + y) + (decoded.width() - cw) / 2 * 3,
                cw * 3, crop.row(y));
  std::vector<uint8_t> jpeg = ss::encode_jpeg(enlarge(crop, w, h), 92);
  std::ofstream(cached, std::ios::binary)
      .write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
  return jpeg;
}

void BM_ComposeJpeg(benchmark::State& state) {
  std::string why;
  const std::optional<std::vector<uint8_t>> jpeg =
      camera_jpeg(static_cast<int>(state.range(0)), why);
  if (!jpeg) {
    state.SkipWithError(why.c_str());
    return;
  }
  ss::CallLog log;
  ss::HeadlessTextRenderer text(log);
  const ss::TSSFileLocations settings;
  for (auto _ : state) {
    // Read from the package's bytes, decoded at its DCT scale and averaged onto the slide.
    const ss::Picture picture(std::make_shared<ss::JpegGraphic>(*jpeg));
    benchmark::DoNotOptimize(ss::compose_slide(picture, settings, kScreen, text));
  }
  const ss::JpegHeader header = ss::read_jpeg_header(*jpeg);
  state.counters["width"] = header.width;
  state.counters["height"] = header.height;
  state.counters["jpeg_MB"] = static_cast<double>(jpeg->size()) / 1e6;
}
BENCHMARK(BM_ComposeJpeg)->Arg(24)->Unit(benchmark::kMillisecond);

const ss::Bitmap24& camera_bitmap() {
  static const ss::Bitmap24 image = [] {
    ss::Bitmap24 b(6000, 4000);
    std::mt19937 rng(1);
    for (int32_t y = 0; y < b.height(); ++y)
      for (int32_t i = 0; i < 3 * b.width(); ++i) b.row(y)[i] = static_cast<uint8_t>(rng());
    return b;
  }();
  return image;
}

void BM_AreaDownscale(benchmark::State& state) {
  const ss::Bitmap24& src = camera_bitmap();
  ss::Bitmap24 dst(1920, 1280);
  for (auto _ : state) {
    ss::scale_area(src, dst, dst.bounds());
    benchmark::DoNotOptimize(dst.data());
  }
}
BENCHMARK(BM_AreaDownscale)->Unit(benchmark::kMillisecond);

void BM_NearestDownscale(benchmark::State& state) {
  const ss::Bitmap24& src = camera_bitmap();
  ss::Bitmap24 dst(1920, 1280);
  for (auto _ : state) {
    ss::stretch_nearest(src, dst, dst.bounds());
    benchmark::DoNotOptimize(dst.data());
  }
}
BENCHMARK(BM_NearestDownscale)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
