// slidemake record: the real show on the headless platform, written out as a GIF or PNG frames.
#include <gtest/gtest.h>
#include <webp/demux.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/gif_reader.h"
#include "support/saver_scratch.h"
#include "package/png_codec.h"
#include "slidemake/commands.h"

namespace ss {
namespace {

using ss_test::SaverScratch;

constexpr Color kRed = rgb(255, 0, 0);
constexpr Color kBlue = rgb(0, 0, 255);

// One 40 x 30 picture (red and blue halves, both exact in the GIF palette), shown at once
// (style 0) and kept for five seconds.
std::string small_saver(const SaverScratch& scratch) {
  TSSFileLocations settings;
  settings.Interval = 5000;
  settings.EffectCommaList = CommaList({"0"});
  settings.Ver = "photo";
  return scratch.build({ss_test::halves(40, 30, kRed, kBlue)}, settings);
}

// The first picture centred on a black 160 x 120 screen.
Bitmap24 expected_screen() {
  Bitmap24 screen(160, 120);
  for (int32_t y = 45; y < 75; ++y)
    for (int32_t x = 60; x < 100; ++x) screen.set_pixel(x, y, x < 80 ? kRed : kBlue);
  return screen;
}

std::vector<uint8_t> bytes_of(const std::string& text) {
  return {text.begin(), text.end()};
}

TEST(RecordTest, GifStartsWithTheFirstPictureCentredOnBlack) {
  SaverScratch scratch;
  const std::string saver = small_saver(scratch);
  const std::string out = scratch.path("show.gif");
  ASSERT_EQ(slidemake::run_record({saver, "-o", out, "--seconds", "2", "--size", "160x120"}), 0);

  const ss_test::GifFile gif = ss_test::decode_gif(bytes_of(scratch.read("show.gif").value()));
  ASSERT_EQ(gif.width, 160);
  ASSERT_EQ(gif.height, 120);
  ASSERT_FALSE(gif.frames.empty());
  EXPECT_EQ(gif.frames[0].image, expected_screen());
  uint32_t total_cs = 0;
  for (const auto& frame : gif.frames) total_cs += frame.delay_cs;
  EXPECT_EQ(total_cs, 200u);
}

TEST(RecordTest, PngFramesStartWithTheFirstPictureCentredOnBlack) {
  if (!png_supported()) GTEST_SKIP() << "built without libpng";
  SaverScratch scratch;
  const std::string saver = small_saver(scratch);
  const std::string out = scratch.path("frames");
  ASSERT_EQ(slidemake::run_record({saver, "-o", out, "--seconds", "2", "--size", "160x120"}), 0);

  const auto first = scratch.read("frames/frame-00000.png");
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(decode_png(bytes_of(*first)).pixels, expected_screen());
}

// The show ends at once (its settings cannot be read); what stood on the screen is kept.
TEST(RecordTest, ASaverWithoutPackageStillGivesAnAnimation) {
  SaverScratch scratch;
  scratch.write("bare.scr", std::string(4096, '\x90'));
  const std::string out = scratch.path("bare.gif");
  ASSERT_EQ(slidemake::run_record({scratch.path("bare.scr"), "-o", out, "--size", "8x8"}), 0);
  const ss_test::GifFile gif = ss_test::decode_gif(bytes_of(scratch.read("bare.gif").value()));
  EXPECT_EQ(gif.frames.size(), 1u);
  EXPECT_EQ(gif.width, 8);
}

// Full colour and the show's own timing: every screen the show presented is a frame.
TEST(RecordTest, WebpHoldsTheShowInFullColourAndCountsItsFrames) {
  SaverScratch scratch;
  TSSFileLocations settings;
  settings.Interval = 500;
  settings.EffectCommaList = CommaList({"0"});
  settings.Ver = "photo";
  const std::string saver = scratch.build(
      {ss_test::solid(40, 30, rgb(200, 120, 40)), ss_test::solid(40, 30, rgb(30, 60, 220))},
      settings);
  const std::string out = scratch.path("show.webp");
  testing::internal::CaptureStdout();
  ASSERT_EQ(slidemake::run_record({saver, "-o", out, "--seconds", "3", "--size", "160x120"}), 0);
  const std::string said = testing::internal::GetCapturedStdout();

  const std::string file = scratch.read("show.webp").value();
  WebPData data{reinterpret_cast<const uint8_t*>(file.data()), file.size()};
  WebPAnimDecoderOptions options;
  ASSERT_TRUE(WebPAnimDecoderOptionsInit(&options));
  options.color_mode = MODE_RGBA;
  WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
  ASSERT_NE(decoder, nullptr);
  WebPAnimInfo info;
  ASSERT_TRUE(WebPAnimDecoderGetInfo(decoder, &info));
  EXPECT_EQ(info.canvas_width, 160u);
  std::vector<Color> centres;
  int timestamp = 0;
  uint8_t* rgb_pixels = nullptr;
  while (WebPAnimDecoderGetNext(decoder, &rgb_pixels, &timestamp)) {
    const uint8_t* centre = rgb_pixels + (60 * 160 + 80) * 4;
    centres.push_back(rgb(centre[0], centre[1], centre[2]));
  }
  WebPAnimDecoderDelete(decoder);
  EXPECT_NEAR(timestamp, 3000, 1);  // a screen presented at the very end stands for an instant
  const auto shown = [&](Color want) {
    return std::any_of(centres.begin(), centres.end(), [&](Color c) {
      return std::abs(color_red(c) - color_red(want)) <= 6 &&
             std::abs(color_green(c) - color_green(want)) <= 6 &&
             std::abs(color_blue(c) - color_blue(want)) <= 6;
    });
  };
  EXPECT_TRUE(shown(rgb(200, 120, 40))) << "the first picture, in its own colour";
  EXPECT_TRUE(shown(rgb(30, 60, 220))) << "the second";
  EXPECT_NE(said.find(" " + std::to_string(info.frame_count) + " frames"), std::string::npos)
      << said;
}

TEST(RecordTest, RejectsBadArguments) {
  SaverScratch scratch;
  const std::string saver = small_saver(scratch);
  const std::string gif = scratch.path("x.gif");
  const std::vector<std::vector<std::string>> bad = {
      {saver},
      {saver, "-o", gif, "--size", "640"},
      {saver, "-o", gif, "--size", "0x10"},
      {saver, "-o", gif, "--seconds", "nan"},
      {scratch.path("missing.scr"), "-o", gif},
  };
  for (const auto& args : bad) EXPECT_THROW(slidemake::run_record(args), std::runtime_error);
  EXPECT_FALSE(std::filesystem::exists(gif));
}

}  // namespace
}  // namespace ss
