// The recorder's GIF writer, checked through an independent decoder.
#include "common/gif_encoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <stdexcept>
#include <vector>

#include "support/gif_reader.h"

namespace ss {
namespace {

using ss_test::decode_gif;
using ss_test::lzw_decode;

TEST(GifPaletteTest, EveryColourLandsOnItsNearestCubeColour) {
  EXPECT_EQ(gif_palette_index(0, 0, 0), 0);
  EXPECT_EQ(gif_palette_color(0), kBlack);
  EXPECT_EQ(gif_palette_color(gif_palette_index(255, 255, 255)), kWhite);
  EXPECT_EQ(gif_palette_color(gif_palette_index(200, 100, 30)), rgb(204, 85, 51));
  // The pad entries beyond the cube are black.
  EXPECT_EQ(gif_palette_color(255), kBlack);
  for (int index = 0; index < 6 * 7 * 6; ++index) {
    const Color c = gif_palette_color(static_cast<uint8_t>(index));
    EXPECT_EQ(gif_palette_index(color_red(c), color_green(c), color_blue(c)), index);
  }
  // Half a step of the coarsest axis at most.
  for (int v = 0; v < 256; ++v) {
    const auto u = static_cast<uint8_t>(v);
    const Color c = gif_palette_color(gif_palette_index(u, u, u));
    EXPECT_LE(std::abs(color_red(c) - v), 26) << v;
    EXPECT_LE(std::abs(color_green(c) - v), 22) << v;
    EXPECT_LE(std::abs(color_blue(c) - v), 26) << v;
  }
}

// Random bytes add about one string per byte, so prefixes of about 256 and 768 bytes end the
// stream around the points where the code width grows. Long runs of few symbols fill the table
// many times over and force clear codes.
TEST(GifLzwTest, RoundTripsThroughAnIndependentDecoder) {
  for (unsigned seed = 0; seed < 4; ++seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> stream(800);
    for (uint8_t& b : stream) b = static_cast<uint8_t>(random());
    for (size_t edge : {256u, 768u})
      for (size_t length = edge - 8; length <= edge + 4; ++length) {
        const std::vector<uint8_t> data(stream.begin(),
                                        stream.begin() + static_cast<ptrdiff_t>(length));
        ASSERT_EQ(lzw_decode(gif_lzw_encode(data)), data)
            << "seed " << seed << " length " << length;
      }
  }
  std::mt19937 random(7);
  for (int alphabet : {1, 3, 16}) {
    std::vector<uint8_t> data(60'000);
    for (uint8_t& b : data) b = static_cast<uint8_t>(random() % static_cast<unsigned>(alphabet));
    ASSERT_EQ(lzw_decode(gif_lzw_encode(data)), data) << "alphabet " << alphabet;
  }
  EXPECT_TRUE(lzw_decode(gif_lzw_encode({})).empty());
}

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

}  // namespace
}  // namespace ss
