#include "support/saver_fixture.h"

#include <unistd.h>

#include <atomic>
#include <iterator>

namespace slidemake_test {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  static std::atomic<int> counter{0};
  dir_ = fs::temp_directory_path() /
         ("slidemake-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  fs::create_directories(dir_);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  fs::remove_all(dir_, ignored);
}

void ScratchDir::write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  std::ofstream(dir_ / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void ScratchDir::write_text(const std::string& name, const std::string& text) const {
  std::ofstream(dir_ / name, std::ios::binary) << text;
}

std::vector<uint8_t> ScratchDir::read(const std::string& name) const {
  std::ifstream in(dir_ / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ScratchDir::fake_runtime(size_t size) const {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 31 + 7);
  write("runtime.bin", bytes);
  return path("runtime.bin");
}

std::string ScratchDir::jpeg(const std::string& name, int width, int height) const {
  ss::Bitmap24 image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.set_pixel(x, y, ss::rgb(x * 255 / width, y * 255 / height, 90));
  write(name, ss::encode_jpeg(image, 90));
  return path(name);
}

}  // namespace slidemake_test
