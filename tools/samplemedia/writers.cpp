#include "writers.h"

#include "common/bmp_encoder.h"
#include "common/jpeg_encoder.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <vector>

#ifdef SLIDESAVER_HAVE_PNG
#include <png.h>
#endif

namespace ss::sample {
namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

void save(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + path);
}

}  // namespace

void write_jpeg(const std::string& path, const Bitmap24& image, int quality) {
  save(path, encode_jpeg(image, quality));
}

void write_bmp(const std::string& path, const Bitmap24& image) { save(path, encode_bmp(image)); }

bool write_png(const std::string& path, const Bitmap24& image) {
#ifdef SLIDESAVER_HAVE_PNG
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width());
  png.height = static_cast<png_uint_32>(image.height());
  png.format = PNG_FORMAT_BGR;
  if (!png_image_write_to_file(&png, path.c_str(), 0, image.data(),
                               static_cast<png_int_32>(image.stride()), nullptr))
    throw std::runtime_error("cannot write " + path + ": " + png.message);
  return true;
#else
  (void)path;
  (void)image;
  return false;
#endif
}

void write_tune_wav(const std::string& path, const int* notes, int count, double note_seconds) {
  constexpr uint32_t kRate = 22050;
  std::vector<int16_t> samples;
  for (int n = 0; n < count; ++n) {
    const double freq = 440.0 * std::pow(2.0, (notes[n] - 69) / 12.0);
    const int length = static_cast<int>(note_seconds * kRate);
    for (int i = 0; i < length; ++i) {
      const double t = static_cast<double>(i) / kRate;
      const double envelope = std::exp(-3.0 * t / note_seconds) * std::min(1.0, i / 200.0);
      samples.push_back(static_cast<int16_t>(9000 * envelope * std::sin(2 * M_PI * freq * t)));
    }
  }
  const uint32_t data_size = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
  put32(out, 36 + data_size);
  for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<uint8_t>(c));
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, kRate);
  put32(out, kRate * 2);
  put16(out, 2);
  put16(out, 16);
  for (char c : std::string("data")) out.push_back(static_cast<uint8_t>(c));
  put32(out, data_size);
  for (int16_t s : samples) put16(out, static_cast<uint16_t>(s));
  save(path, out);
}

}  // namespace ss::sample
