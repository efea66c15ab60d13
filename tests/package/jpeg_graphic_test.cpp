#include "package/jpeg_graphic.h"

#include <gtest/gtest.h>

#include <cstdio>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "support/test_images.h"

namespace ss {
namespace {

using test::Bytes;

const Color kQuadrants[4] = {rgb(220, 30, 30), rgb(30, 200, 40), rgb(20, 40, 210),
                             rgb(240, 240, 240)};

// Flat quadrants: red top-left, green top-right, blue bottom-left, white bottom-right.
Bitmap24 quadrants(int w, int h) {
  return test::make_bitmap(
      w, h, [&](int x, int y) { return kQuadrants[(y >= h / 2) * 2 + (x >= w / 2)]; });
}

void expect_quadrants(const Bitmap24& b) {
  for (int q = 0; q < 4; ++q) {
    const Color c = b.pixel((q % 2 ? 3 : 1) * b.width() / 4, (q / 2 ? 3 : 1) * b.height() / 4);
    EXPECT_TRUE(test::near_colour(c, kQuadrants[q], 12))
        << "quadrant " << q << ": " << std::hex << c;
  }
}

std::string jpeg_error(int code) {
  return "JPEG error #" + std::to_string(code);
}

TEST(JpegGraphic, LoadingReadsOnlyTheHeader) {
  for (const test::JpegOptions options : {test::JpegOptions{},
                                          {.grayscale = true},
                                          {.progressive = true},
                                          {.grayscale = true, .progressive = true}}) {
    const JpegGraphic jpeg(test::jpeg_file(quadrants(48, 32), options));
    EXPECT_EQ(jpeg.width(), 48);
    EXPECT_EQ(jpeg.height(), 32);
    EXPECT_EQ(jpeg.grayscale(), options.grayscale);
    EXPECT_EQ(jpeg.progressive(), options.progressive);
    EXPECT_EQ(jpeg.decoded_scale(), 0);  // nothing decoded before the first draw
  }
}

TEST(JpegGraphic, DrawsUprightInColourOrder) {
  for (const test::JpegOptions options :
       {test::JpegOptions{}, {.progressive = true}, {.cmyk = true}}) {
    const JpegGraphic jpeg(test::jpeg_file(quadrants(64, 48), options));
    Bitmap24 out(64, 48);
    jpeg.draw(out, out.bounds());
    EXPECT_EQ(jpeg.decoded_scale(), 8);
    expect_quadrants(out);
  }
}

TEST(JpegGraphic, SmallDrawsDecodeAtAReducedScaleAndKeepIt) {
  const JpegGraphic jpeg(test::jpeg_file(quadrants(640, 480)));
  Bitmap24 small(100, 75);
  jpeg.draw(small, small.bounds());
  EXPECT_EQ(jpeg.decoded_scale(), 2);  // 1/8 gives 80 × 60, too small; 2/8 gives 160 × 120
  expect_quadrants(small);
  jpeg.draw(small, {0, 0, 60, 40});  // smaller still: what is kept will do
  EXPECT_EQ(jpeg.decoded_scale(), 2);

  const Bitmap24 scaled = jpeg.decode_scaled(300, 111);
  EXPECT_EQ(jpeg.decoded_scale(), 4);
  EXPECT_EQ(scaled.width(), 300);
  EXPECT_EQ(scaled.height(), 111);
  expect_quadrants(scaled);
}

TEST(JpegGraphic, ChosenScaleIsTheSmallestFastOneThatCovers) {
  // Checks our choice against the sizes libjpeg really produces: 203 × 157 decodes to 26 × 20
  // at 1/8, 51 × 40 at 2/8 and 102 × 79 at 4/8.
  const Bytes file = test::jpeg_file(quadrants(203, 157));
  const std::pair<int, int> targets[] = {{1, 1},    {26, 20},  {26, 21},   {27, 20},
                                         {51, 40},  {51, 41},  {52, 1},    {102, 79},
                                         {103, 79}, {102, 80}, {203, 157}, {300, 300}};
  Bitmap24 out, smaller;
  for (const auto& [tw, th] : targets) {
    const int m = jpeg_scale_for(203, 157, tw, th);
    decode_jpeg(file, m, out);
    EXPECT_TRUE(m == 8 || (out.width() >= tw && out.height() >= th)) << tw << " x " << th;
    if (m > 1) {
      decode_jpeg(file, m / 2, smaller);  // the next smaller scale in use
      EXPECT_TRUE(smaller.width() < tw || smaller.height() < th) << tw << " x " << th;
    }
  }
  EXPECT_EQ(jpeg_scale_for(6000, 4000, 1620, 1080), 4);  // 3/8 would cover but decodes slower
}

// Rewrites the frame header's height and width.
Bytes with_frame_size(Bytes file, uint16_t width, uint16_t height) {
  size_t i = 2;
  while (i + 9 < file.size() && !(file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2)))
    ++i;
  file[i + 5] = height >> 8, file[i + 6] = height & 0xFF, file[i + 7] = width >> 8,
           file[i + 8] = width & 0xFF;
  return file;
}

TEST(JpegGraphic, RejectsWhatTheDecoderRejectsOrIsTooLarge) {
  const Bytes good = test::jpeg_file(quadrants(16, 16));
  Bytes no_start = good;
  no_start[1] = 0x00;
  const std::pair<Bytes, std::string> cases[] = {
      {no_start, jpeg_error(JERR_NO_SOI)},
      {{}, jpeg_error(JERR_INPUT_EMPTY)},
      {with_frame_size(good, 16385, 8), "JPEG image is too large"},
      {with_frame_size(good, 8200, 8200), "JPEG image is too large"},
      {with_frame_size(good, 16384, 16), "no error"},
  };
  for (const auto& [file, text] : cases)
    EXPECT_EQ(test::error_text([&] { JpegGraphic{file}; }), text);
}

TEST(JpegGraphic, EndlessProgressiveScansAreCutOff) {
  // The last scan repeated over and over: libjpeg only warns about the odd progression.
  const Bytes file = test::jpeg_file(quadrants(16, 16), {.progressive = true});
  size_t last_scan = file.size() - 2;
  while (!(file[last_scan] == 0xFF && file[last_scan + 1] == 0xDA)) --last_scan;
  Bytes hostile(file.begin(), file.end() - 2);
  for (int i = 0; i < kJpegMaxScans + 10; ++i)
    hostile.insert(hostile.end(), file.begin() + last_scan, file.end() - 2);
  hostile.insert(hostile.end(), {0xFF, 0xD9});

  const JpegGraphic jpeg(hostile);
  Bitmap24 out(16, 16);
  EXPECT_EQ(test::error_text([&] { jpeg.draw(out, out.bounds()); }),
            "JPEG image has too many scans");
  EXPECT_EQ(jpeg.decoded_scale(), 0);
}

TEST(JpegGraphic, CorruptDataOnlyWarns) {
  // Cut halfway through the coded data: the header is whole, the lower rows are missing.
  const Bytes file = test::jpeg_file(quadrants(64, 64));
  size_t scan = 0;
  while (!(file[scan] == 0xFF && file[scan + 1] == 0xDA)) ++scan;
  const JpegGraphic jpeg(test::prefix(file, (scan + file.size()) / 2));
  Bitmap24 out(64, 64);
  EXPECT_EQ(test::error_text([&] { jpeg.draw(out, out.bounds()); }), "no error");
  EXPECT_TRUE(test::near_colour(out.pixel(16, 16), kQuadrants[0], 12));
}

}  // namespace
}  // namespace ss
