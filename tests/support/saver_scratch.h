#pragma once
// A scratch folder holding a saver built the way the authoring tool builds one, and the
// headless machine that runs it from there. Shared by the entry and setup dialog tests.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "gfx/bitmap24.h"
#include "common/bmp_encoder.h"
#include "package/ss_file_locations.h"
#include "platform/headless/headless_config.h"
#include "slidemake/package_builder.h"

namespace ss_test {

inline ss::Bitmap24 solid(int32_t width, int32_t height, ss::Color color) {
  ss::Bitmap24 image(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) image.set_pixel(x, y, color);
  return image;
}

// Left half one colour, right half another: shows where a picture landed and how it was scaled.
inline ss::Bitmap24 halves(int32_t width, int32_t height, ss::Color left, ss::Color right) {
  ss::Bitmap24 image = solid(width, height, left);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = width / 2; x < width; ++x) image.set_pixel(x, y, right);
  return image;
}

class SaverScratch {
 public:
  SaverScratch() {
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() / ("ss-app-test-" + std::to_string(random()));
    std::filesystem::create_directories(root_ / "tmp");
  }
  ~SaverScratch() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  SaverScratch(const SaverScratch&) = delete;
  SaverScratch& operator=(const SaverScratch&) = delete;

  std::string path(const std::string& name) const { return (root_ / name).string(); }

  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(root_ / name, std::ios::binary) << bytes;
  }
  std::optional<std::string> read(const std::string& name) const {
    std::ifstream in(root_ / name, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // A runtime stand-in followed by a package of these pictures (as bitmaps), music files and
  // settings; the build fills in the location lists.
  std::string build(const std::vector<ss::Bitmap24>& pictures, const ss::TSSFileLocations& settings,
                    const std::vector<std::string>& music = {},
                    const std::string& name = "saver.scr") const {
    slidemake::Manifest manifest;
    for (size_t i = 0; i < pictures.size(); ++i) {
      const std::string file = "picture" + std::to_string(i) + ".bmp";
      const std::vector<uint8_t> bmp = ss::encode_bmp(pictures[i]);
      write(file, std::string(bmp.begin(), bmp.end()));
      manifest.pictures.push_back({.path = path(file)});
    }
    for (size_t i = 0; i < music.size(); ++i) {
      const std::string file = "track" + std::to_string(i) + ".mid";
      write(file, music[i]);
      manifest.music.push_back(path(file));
    }
    manifest.settings = settings;
    write("runtime.bin", std::string(4096, '\x90'));
    slidemake::build_saver(manifest, path("runtime.bin"), path(name));
    return path(name);
  }

  // A machine on which `executable` is the running program.
  ss::HeadlessConfig config(const std::string& executable) const {
    ss::HeadlessConfig config;
    config.executable_path = executable;
    config.temp_directory = path("tmp") + "/";
    config.screen_size = {160, 120};
    config.run_limit_ms = 60'000;
    return config;
  }

 private:
  std::filesystem::path root_;
};

}  // namespace ss_test
