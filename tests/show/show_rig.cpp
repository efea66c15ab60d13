#include "show_rig.h"

#include <fstream>
#include <random>

#include "base/random.h"
#include "common/bmp_encoder.h"
#include "common/jpeg_encoder.h"
#include "package/image_record.h"
#include "package/settings_stream.h"
#include "package/trailer.h"
#include "show/input_hook.h"
#include "show/saver_mode.h"

namespace ss::show_test {
namespace {

std::vector<uint8_t> payload_of(const std::string& class_name, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out;
  out.push_back(static_cast<uint8_t>(class_name.size()));
  out.insert(out.end(), class_name.begin(), class_name.end());
  const uint32_t n = static_cast<uint32_t>(data.size());
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(n >> shift));
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

void append(std::vector<uint8_t>& file, const std::vector<uint8_t>& bytes) {
  file.insert(file.end(), bytes.begin(), bytes.end());
}

void append(std::vector<uint8_t>& file, const std::string& bytes) {
  file.insert(file.end(), bytes.begin(), bytes.end());
}

// Writes the media items and fills their three lists.
void append_media(std::vector<uint8_t>& file, const std::vector<MediaItem>& items,
                  CommaList& offsets, CommaList& names, CommaList& sizes) {
  for (const MediaItem& item : items) {
    offsets.items().push_back(std::to_string(file.size()));
    names.items().push_back(item.name);
    sizes.items().push_back(std::to_string(item.bytes.size()));
    append(file, item.bytes);
  }
}

}  // namespace

Bitmap24 solid(int32_t w, int32_t h, Color c) {
  Bitmap24 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b.set_pixel(x, y, c);
  return b;
}

PictureItem bmp_picture(const Bitmap24& image) {
  return {payload_of("TBitmap", encode_bmp(image)), image.width(), image.height()};
}

PictureItem jpeg_picture(const Bitmap24& image) {
  return {payload_of("TJPEGImage", encode_jpeg(image, 90)), image.width(), image.height()};
}

TSSFileLocations quiet_settings(const std::string& kind) {
  TSSFileLocations s;
  s.Ver = kind;
  s.Interval = 1000;
  s.EffectCommaList.set_comma_text("1");
  s.lShowMouseCursor = true;
  return s;
}

ShowRig::ShowRig()
    : root_(std::filesystem::temp_directory_path() /
            ("ss-show-" + std::to_string(std::random_device{}()))) {
  std::filesystem::create_directories(root_ / "tmp");
  set_random_seed(0);
  set_saver_mode(smShow);
  show_process_state() = ShowProcessState{};
}

ShowRig::~ShowRig() {
  form_.reset();
  platform_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::vector<int64_t> ShowRig::build(const SaverContents& contents) {
  std::vector<uint8_t> file(256, 'R');  // the runtime stand-in
  const int64_t package_start = static_cast<int64_t>(file.size());
  TSSFileLocations settings = contents.settings;
  std::vector<int64_t> offsets;
  for (const PictureItem& picture : contents.pictures) {
    offsets.push_back(static_cast<int64_t>(file.size()));
    settings.PicCommaList.items().push_back(std::to_string(file.size()));
    append(file, write_image_stream(picture.width, picture.height, picture.payload));
  }
  append_media(file, contents.music, settings.SndCommaList, settings.SndFileNamesCommaList,
               settings.SndSizesCommaList);
  append_media(file, contents.movies, settings.FlashCommaList, settings.FlashFileNamesCommaList,
               settings.FlashSizesCommaList);
  if (contents.edit_lists) contents.edit_lists(settings);
  const int64_t settings_offset = static_cast<int64_t>(file.size());
  append(file, write_settings_stream(settings));
  const int64_t package_length = static_cast<int64_t>(file.size()) - package_start;
  append(file, format_trailer(package_length,
                              contents.settings_offset_override.value_or(settings_offset)));
  std::ofstream(saver_path(), std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return offsets;
}

HeadlessConfig ShowRig::config(Point screen) const {
  HeadlessConfig config;
  config.screen_size = screen;
  config.executable_path = saver_path();
  config.temp_directory = temp_dir();
  config.run_limit_ms = 60'000;
  return config;
}

void ShowRig::start(HeadlessConfig config) {
  form_.reset();
  ran_ = false;
  platform_ = std::make_unique<HeadlessPlatform>(std::move(config));
  form_ = std::make_unique<TfrmScrn>(*platform_);
}

void ShowRig::run_for(uint64_t max_ms) {
  if (ran_) {
    platform_->run_for(max_ms);
    return;
  }
  // The first run is the entry's: it shows the main window.
  ran_ = true;
  platform_->app().set_run_limit(max_ms);
  platform_->application().run();
}

bool ShowRig::temp_file_exists(const std::string& name) const {
  return std::filesystem::exists(root_ / "tmp" / name);
}

std::optional<std::string> ShowRig::media_dir() const {
  for (const auto& entry : std::filesystem::directory_iterator(root_ / "tmp"))
    if (entry.is_directory()) return entry.path().string() + "/";
  return std::nullopt;
}

void ShowRig::write_temp(const std::string& name, const std::string& text) const {
  std::ofstream(root_ / "tmp" / name, std::ios::binary) << text;
}

std::string ShowRig::read_temp(const std::string& name) const {
  std::ifstream in(root_ / "tmp" / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void ShowRig::write_beside_exe(const std::string& name, const std::string& text) const {
  std::ofstream(root_ / name, std::ios::binary) << text;
}

std::vector<std::string> entries(const CallLog& log, const std::string& prefix) {
  return log.with_prefix(prefix);
}

}  // namespace ss::show_test
