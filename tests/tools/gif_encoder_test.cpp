// The recorder's GIF writer, checked through an independent decoder.
#include "common/gif_encoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <stdexcept>
#include <vector>

#include "support/gif_reader.h"

namespace ss {
namespace {

using ss_test::decode_gif;

Bitmap24 filled(int32_t w, int32_t h, Color c) {
  Bitmap24 image(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) image.set_pixel(x, y, c);
  return image;
}

TEST(GifEncoderTest, StoresOnlyWhatChangedAndMergesRepeatedFrames) {
  const Bitmap24 black = filled(20, 10, kBlack);
  Bitmap24 spot = black;
  for (int32_t y = 3; y < 5; ++y)
    for (int32_t x = 7; x < 10; ++x) spot.set_pixel(x, y, rgb(255, 0, 0));
  const Bitmap24 white = filled(20, 10, kWhite);

  GifEncoder encoder(20, 10);
  encoder.add_frame(black, 10);
  encoder.add_frame(spot, 10);
  encoder.add_frame(spot, 15);  // nothing changed: the spot just stays longer
  encoder.add_frame(white, 10);
  const std::vector<uint8_t> bytes = encoder.finish();

  const ss_test::GifFile gif = decode_gif(bytes);
  EXPECT_EQ(gif.width, 20);
  EXPECT_TRUE(gif.loops);
  EXPECT_EQ(gif.loop_count, 0);
  ASSERT_EQ(gif.frames.size(), 3u);
  EXPECT_EQ(gif.frames[0].area, (Rect{0, 0, 20, 10}));
  EXPECT_EQ(gif.frames[1].area, (Rect{7, 3, 10, 5}));
  EXPECT_EQ(gif.frames[2].area, (Rect{0, 0, 20, 10}));
  EXPECT_EQ(gif.frames[0].delay_cs, 10);
  EXPECT_EQ(gif.frames[1].delay_cs, 25);
  EXPECT_EQ(gif.frames[2].delay_cs, 10);
  EXPECT_EQ(gif.frames[0].image, black);
  EXPECT_EQ(gif.frames[1].image, spot);
  EXPECT_EQ(gif.frames[2].image, white);
}

TEST(GifEncoderTest, AStillLongerThanOneFrameCanCarryIsSplit) {
  GifEncoder encoder(2, 2);
  const Bitmap24 still = filled(2, 2, kWhite);
  for (int i = 0; i < 7000; ++i) encoder.add_frame(still, 10);
  const ss_test::GifFile gif = decode_gif(encoder.finish());
  uint32_t total = 0;
  for (const auto& frame : gif.frames) {
    total += frame.delay_cs;
    EXPECT_EQ(frame.image, still);
  }
  EXPECT_EQ(total, 70'000u);
  EXPECT_EQ(gif.frames.size(), 2u);
}

TEST(GifEncoderTest, RefusesFramesOfAnotherSizeAndNeverWritesAnEmptyAnimation) {
  EXPECT_THROW(GifEncoder(0, 5), std::invalid_argument);
  GifEncoder encoder(4, 3);
  EXPECT_THROW(encoder.add_frame(Bitmap24(3, 4), 10), std::invalid_argument);
  const ss_test::GifFile gif = decode_gif(encoder.finish());
  ASSERT_EQ(gif.frames.size(), 1u);
  EXPECT_EQ(gif.frames[0].image, Bitmap24(4, 3));
}

// A photo-like frame (smooth gradients in every channel) keeps far more than a fixed cube's
// colours, and every pixel stays close to what it was.
TEST(GifEncoderTest, EachFrameGetsAPaletteOfItsOwnColours) {
  Bitmap24 photo(96, 64);
  for (int32_t y = 0; y < 64; ++y)
    for (int32_t x = 0; x < 96; ++x)
      photo.set_pixel(x, y,
                      rgb(static_cast<uint8_t>(x * 255 / 95), static_cast<uint8_t>(y * 4),
                          static_cast<uint8_t>((x + y) * 255 / 158)));
  const Bitmap24 red = filled(96, 64, rgb(250, 10, 20));
  GifEncoder encoder(96, 64);
  encoder.add_frame(photo, 10);
  encoder.add_frame(red, 10);
  const ss_test::GifFile gif = decode_gif(encoder.finish());
  ASSERT_EQ(gif.frames.size(), 2u);
  EXPECT_EQ(gif.frames[0].palette_size, 256);
  std::set<Color> colours;
  int worst = 0;
  int64_t total = 0;
  for (int32_t y = 0; y < 64; ++y)
    for (int32_t x = 0; x < 96; ++x) {
      const Color got = gif.frames[0].image.pixel(x, y), want = photo.pixel(x, y);
      colours.insert(got);
      const int error = std::max({std::abs(color_red(got) - color_red(want)),
                                  std::abs(color_green(got) - color_green(want)),
                                  std::abs(color_blue(got) - color_blue(want))});
      worst = std::max(worst, error);
      total += error;
    }
  EXPECT_GT(colours.size(), 200u);
  EXPECT_LE(total / (96 * 64), 14) << "on average";
  EXPECT_LE(worst, 64);
  // A flat frame needs only its colour, exactly.
  EXPECT_LE(gif.frames[1].palette_size, 2);
  EXPECT_EQ(gif.frames[1].image, red);
}

}  // namespace
}  // namespace ss
