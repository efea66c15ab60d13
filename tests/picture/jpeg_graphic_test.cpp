#include <gtest/gtest.h>

#include <cstdio>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "base/error.h"
#include "package/jpeg_graphic.h"
#include "test_images.h"

namespace ss {
namespace {

using test::Bytes;

const Color kQuadrants[4] = {rgb(220, 30, 30), rgb(30, 200, 40), rgb(20, 40, 210),
                             rgb(240, 240, 240)};

// Four flat quadrants: top-left red, top-right green, bottom-left blue, bottom-right white.
Bitmap24 quadrants(int w, int h) {
  return test::make_bitmap(w, h, [&](int x, int y) {
    return kQuadrants[(y >= h / 2 ? 2 : 0) + (x >= w / 2 ? 1 : 0)];
  });
}

Color quadrant_centre(const Bitmap24& b, int q) {
  return b.pixel((q % 2 ? 3 : 1) * b.width() / 4, (q / 2 ? 3 : 1) * b.height() / 4);
}

std::string jpeg_error(int code) { return "JPEG error #" + std::to_string(code); }

TEST(JpegGraphic, LoadingReadsOnlyTheHeader) {
  struct Case {
    const char* name;
    test::JpegOptions options;
  };
  const Case cases[] = {{"baseline colour", {}},
                        {"grey-scale", {.grayscale = true}},
                        {"progressive", {.progressive = true}},
                        {"progressive grey-scale", {.grayscale = true, .progressive = true}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const JpegGraphic jpeg(test::jpeg_file(quadrants(48, 32), c.options));
    EXPECT_EQ(jpeg.width(), 48);
    EXPECT_EQ(jpeg.height(), 32);
    EXPECT_EQ(jpeg.grayscale(), c.options.grayscale);
    EXPECT_EQ(jpeg.progressive(), c.options.progressive);
    EXPECT_EQ(jpeg.decoded_scale(), 0);  // nothing decoded before the first draw
  }
}

TEST(JpegGraphic, DrawShowsColoursUprightAndInOrder) {
  for (const bool progressive : {false, true}) {
    const JpegGraphic jpeg(test::jpeg_file(quadrants(64, 48), {.progressive = progressive}));
    Bitmap24 out(64, 48);
    jpeg.draw(out, out.bounds());
    EXPECT_EQ(jpeg.decoded_scale(), 8);
    for (int q = 0; q < 4; ++q)
      EXPECT_TRUE(test::near_colour(quadrant_centre(out, q), kQuadrants[q], 12))
          << "quadrant " << q << " progressive " << progressive << " got " << std::hex
          << quadrant_centre(out, q);
  }
}

TEST(JpegGraphic, GreyScaleDecodesToEqualChannels) {
  const JpegGraphic jpeg(
      test::jpeg_file(test::make_bitmap(32, 32, [](int x, int) { return x < 16 ? rgb(40, 40, 40) : rgb(200, 200, 200); }),
                      {.grayscale = true}));
  Bitmap24 out(32, 32);
  jpeg.draw(out, out.bounds());
  EXPECT_TRUE(test::near_colour(out.pixel(4, 10), rgb(40, 40, 40), 4));
  EXPECT_TRUE(test::near_colour(out.pixel(28, 10), rgb(200, 200, 200), 4));
}

TEST(JpegGraphic, SmallDrawsDecodeAtAReducedScaleAndKeepIt) {
  const JpegGraphic jpeg(test::jpeg_file(quadrants(640, 480)));
  Bitmap24 small(100, 75);
  jpeg.draw(small, small.bounds());
  EXPECT_EQ(jpeg.decoded_scale(), 2);  // 1/8 gives 80 × 60, too small; 2/8 gives 160 × 120
  for (int q = 0; q < 4; ++q)
    EXPECT_TRUE(test::near_colour(quadrant_centre(small, q), kQuadrants[q], 12)) << q;

  jpeg.draw(small, {0, 0, 60, 40});  // a smaller draw reuses what is there
  EXPECT_EQ(jpeg.decoded_scale(), 2);
  Bitmap24 full(640, 480);
  jpeg.draw(full, full.bounds());
  EXPECT_EQ(jpeg.decoded_scale(), 8);

  const Bitmap24 scaled = jpeg.decode_scaled(333, 111);
  EXPECT_EQ(scaled.width(), 333);
  EXPECT_EQ(scaled.height(), 111);
  for (int q = 0; q < 4; ++q)
    EXPECT_TRUE(test::near_colour(quadrant_centre(scaled, q), kQuadrants[q], 12)) << q;
}

TEST(JpegGraphic, ChosenScaleIsTheSmallestThatCovers) {
  // Checks our scale choice against the sizes libjpeg really produces.
  const Bytes file = test::jpeg_file(quadrants(203, 157));
  const std::pair<int, int> targets[] = {{1, 1},     {26, 20},   {26, 21},  {27, 20},
                                         {100, 10},  {152, 118}, {153, 1},  {177, 157},
                                         {203, 157}, {300, 300}, {51, 157}, {203, 1}};
  Bitmap24 out;
  for (const auto& [tw, th] : targets) {
    const int m = jpeg_scale_for(203, 157, tw, th);
    decode_jpeg(file, m, out);
    if (m < 8) {
      EXPECT_GE(out.width(), tw);
      EXPECT_GE(out.height(), th);
    }
    if (m > 1) {
      Bitmap24 smaller;
      decode_jpeg(file, m - 1, smaller);
      EXPECT_TRUE(smaller.width() < tw || smaller.height() < th) << tw << " x " << th;
    }
  }
  EXPECT_EQ(jpeg_scale_for(6000, 4000, 1620, 1080), 3);
}

TEST(JpegGraphic, ErrorsCarryTheDecoderMessageCode) {
  const Bytes good = test::jpeg_file(quadrants(16, 16));
  Bytes not_jpeg = good;
  not_jpeg[1] = 0x00;
  const Bytes header_only(good.begin(), good.begin() + 20);
  EXPECT_EQ(test::error_text([&] { JpegGraphic{not_jpeg}; }), jpeg_error(JERR_NO_SOI));
  EXPECT_EQ(test::error_text([&] { JpegGraphic{Bytes{}}; }), jpeg_error(JERR_INPUT_EMPTY));
  EXPECT_EQ(test::error_text([&] { JpegGraphic{header_only}; }).rfind("JPEG error #", 0), 0u);
}

// Finds the start-of-frame segment and rewrites the picture's height and width.
Bytes with_frame_size(Bytes file, uint16_t width, uint16_t height) {
  for (size_t i = 2; i + 9 < file.size(); ++i) {
    if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2)) {
      file[i + 5] = height >> 8, file[i + 6] = height & 0xFF;
      file[i + 7] = width >> 8, file[i + 8] = width & 0xFF;
      return file;
    }
  }
  ADD_FAILURE() << "no frame header";
  return file;
}

TEST(JpegGraphic, RefusesPicturesBeyondTheSizeLimit) {
  const Bytes file = test::jpeg_file(quadrants(16, 16));
  EXPECT_EQ(test::error_text([&] { JpegGraphic{with_frame_size(file, 16385, 8)}; }),
            "JPEG image is too large");
  EXPECT_EQ(test::error_text([&] { JpegGraphic{with_frame_size(file, 8200, 8200)}; }),
            "JPEG image is too large");
  EXPECT_EQ(test::error_text([&] { JpegGraphic{with_frame_size(file, 16384, 16)}; }), "no error");
}

TEST(JpegGraphic, RefusesEndlessProgressiveScans) {
  // The last scan repeated over and over: libjpeg only warns about the odd progression, so the
  // scan limit has to end it.
  const Bytes file = test::jpeg_file(quadrants(16, 16), {.progressive = true});
  size_t last_scan = 0;
  for (size_t i = 0; i + 1 < file.size(); ++i)
    if (file[i] == 0xFF && file[i + 1] == 0xDA) last_scan = i;
  ASSERT_GT(last_scan, 0u);
  const Bytes scan(file.begin() + static_cast<long>(last_scan), file.end() - 2);
  Bytes hostile(file.begin(), file.end() - 2);
  for (int i = 0; i < kJpegMaxScans + 10; ++i) hostile.insert(hostile.end(), scan.begin(), scan.end());
  hostile.insert(hostile.end(), {0xFF, 0xD9});

  const JpegGraphic jpeg(hostile);
  Bitmap24 out(16, 16);
  EXPECT_EQ(test::error_text([&] { jpeg.draw(out, out.bounds()); }), "JPEG image has too many scans");
  EXPECT_EQ(jpeg.decoded_scale(), 0);
}

TEST(JpegGraphic, CorruptDataOnlyWarns) {
  // Cut halfway through the entropy-coded data: the header is whole, the lower rows are missing.
  const Bytes file = test::jpeg_file(quadrants(64, 64));
  size_t scan = 0;
  while (scan + 1 < file.size() && !(file[scan] == 0xFF && file[scan + 1] == 0xDA)) ++scan;
  const Bytes truncated(file.begin(), file.begin() + static_cast<long>((scan + file.size()) / 2));
  const JpegGraphic jpeg(truncated);
  Bitmap24 out(64, 64);
  EXPECT_EQ(test::error_text([&] { jpeg.draw(out, out.bounds()); }), "no error");
  EXPECT_TRUE(test::near_colour(quadrant_centre(out, 0), kQuadrants[0], 12));
}

}  // namespace
}  // namespace ss
