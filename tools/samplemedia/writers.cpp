#include "writers.h"

#include <jpeglib.h>

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
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, f);
  cinfo.image_width = static_cast<JDIMENSION>(image.width());
  cinfo.image_height = static_cast<JDIMENSION>(image.height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(image.row(static_cast<int32_t>(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::fclose(f);
}

void write_bmp(const std::string& path, const Bitmap24& image) {
  const uint32_t stride = static_cast<uint32_t>(image.stride());
  const uint32_t data_size = stride * static_cast<uint32_t>(image.height());
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  put32(out, 54 + data_size);
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);
  put32(out, static_cast<uint32_t>(image.width()));
  put32(out, static_cast<uint32_t>(image.height()));  // bottom-up rows
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);
  put32(out, data_size);
  put32(out, 3780);
  put32(out, 3780);
  put32(out, 0);
  put32(out, 0);
  for (int32_t y = image.height() - 1; y >= 0; --y)
    out.insert(out.end(), image.row(y), image.row(y) + stride);
  save(path, out);
}

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
