#include "studio_previews.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "area_resample.h"
#include "atomic_output_file.h"
#include "base/random.h"
#include "commands.h"
#include "common/sample_painters.h"
#include "manifest.h"
#include "package_builder.h"
#include "picture_file.h"
#include "style_preview.h"

namespace slidemake {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRecordingName = "play.gif";
constexpr int kMaxPlayWidth = 1920, kMaxPlayHeight = 1080, kMinPlaySide = 64;

std::vector<uint8_t> read_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ss::Bitmap24 gallery_picture(const fs::path& file) {
  return fill_cropped(load_picture_file(file.string()), kGalleryWidth, kGalleryHeight);
}

}  // namespace

std::vector<fs::path> StudioPreviews::gallery_sources() const {
  std::vector<fs::path> sources;
  const nlohmann::json document = folder_.load_document();
  for (const auto& entry : document["pictures"]) {
    if (sources.size() == 2) break;
    const fs::path p(entry["file"].get<std::string>());
    sources.push_back((p.is_absolute() ? p : folder_.path() / p).lexically_normal());
  }
  if (sources.size() < 2) sources.clear();
  return sources;
}

std::string StudioPreviews::gallery_key() const {
  std::string identity = "samples";
  for (const fs::path& source : gallery_sources()) identity += "|" + file_identity(source);
  return cache_key(identity + "|" + std::to_string(kGalleryWidth) + "x" +
                   std::to_string(kGalleryHeight));
}

std::shared_ptr<const StudioPreviews::Pair> StudioPreviews::gallery_pair(
    const std::string& key, const std::vector<fs::path>& sources) {
  std::lock_guard lock(pairs_mutex_);
  if (auto it = pairs_.find(key); it != pairs_.end()) return it->second;
  auto pair = std::make_shared<Pair>();
  try {
    if (sources.size() == 2) {
      pair->old_image = gallery_picture(sources[0]);
      pair->new_image = gallery_picture(sources[1]);
    }
  } catch (const std::exception&) {
    pair->old_image = {};  // an unreadable picture: the samples stand in for both
  }
  if (pair->old_image.empty()) {
    pair->old_image = ss::sample::paint_sunrise(kGalleryWidth, kGalleryHeight);
    pair->new_image = ss::sample::paint_mosaic(kGalleryWidth, kGalleryHeight);
  }
  pairs_.clear();  // only the current pair is wanted again
  return pairs_[key] = std::move(pair);
}

std::vector<uint8_t> StudioPreviews::style_gif(int style) {
  if (style < 1 || style > 127) throw StudioError(404, "", "styles are numbered 1 to 127");
  const std::vector<fs::path> sources = gallery_sources();
  const std::string key = gallery_key();
  const fs::path cached =
      folder_.cache_path() / "previews" / key / ("style-" + std::to_string(style) + ".gif");
  std::error_code error;
  if (fs::is_regular_file(cached, error)) return read_bytes(cached);
  const auto pair = gallery_pair(key, sources);
  std::vector<uint8_t> gif = render_style_preview(pair->old_image, pair->new_image, style);
  fs::create_directories(cached.parent_path());
  AtomicOutputFile out(cached.string());
  out.write(gif);
  out.commit();
  return gif;
}

std::string StudioPreviews::record_play(int width, int height) {
  width = std::clamp(width, kMinPlaySide, kMaxPlayWidth);
  height = std::clamp(height, kMinPlaySide, kMaxPlayHeight);
  std::lock_guard play(play_mutex_);
  Manifest manifest;
  try {
    manifest = load_manifest(folder_.manifest_path().string());
  } catch (const std::exception& e) {
    throw StudioError(400, "", e.what());
  }
  if (manifest.pictures.empty()) throw StudioError(400, "pictures", "add a picture first");
  // The show only reads the package, so no runtime goes in front of it.
  const fs::path scratch = folder_.cache_path() / "previews";
  const fs::path no_runtime = scratch / "no-runtime";
  std::ofstream(no_runtime, std::ios::binary).flush();
  const fs::path saver = scratch / "play.saver";
  try {
    BuildOptions options;
    options.warn = [](const std::string&) {};  // the build itself reports them
    options.progress = [](int64_t, int64_t) {};
    build_saver(manifest, no_runtime.string(), saver.string(), options);
  } catch (const std::exception& e) {
    throw StudioError(400, "", e.what());
  }
  // The first three slides: each transition takes about a second before its interval.
  const double slide_seconds = std::max(manifest.settings.Interval, 0) / 1000.0 + 1.2;
  const double seconds = std::clamp(3 * slide_seconds, 3.0, 30.0);
  char seconds_text[16];
  std::snprintf(seconds_text, sizeof seconds_text, "%.1f", seconds);
  {
    std::lock_guard engine(engine_mutex());
    ss::set_random_seed(0);
    run_record({saver.string(), "-o", (scratch / kRecordingName).string(), "--seconds",
                seconds_text, "--size", std::to_string(width) + "x" + std::to_string(height)});
  }
  return kRecordingName;
}

fs::path StudioPreviews::recording(const std::string& name) const {
  const fs::path path = folder_.cache_path() / "previews" / kRecordingName;
  if (name != kRecordingName || !fs::is_regular_file(path))
    throw StudioError(404, "", "no such recording");
  return path;
}

}  // namespace slidemake
