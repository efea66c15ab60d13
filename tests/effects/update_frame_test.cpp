#include "effects/update_frame.h"

#include <gtest/gtest.h>

#include <set>

#include "base/random.h"
#include "frame_fixture.h"

namespace ss {
namespace {

using testing::Compose;
using testing::CountFromNewImage;
using testing::FromNewImage;
using testing::MakeNewImage;
using testing::MakeOldImage;

constexpr Rect kWhole400x300{0, 0, 400, 300};

class UpdateFrameTest : public ::testing::Test {
 protected:
  void SetUp() override { set_random_seed(0); }
  Bitmap24 old_ = MakeOldImage(80, 60);
  Bitmap24 new_ = MakeNewImage(80, 60);
};

TEST_F(UpdateFrameTest, LastFrameShowsTheNewImageWhateverTheStyle) {
  for (int32_t style = 0; style <= 127; ++style) {
    const auto frame = Compose(old_, new_, style, 100);
    EXPECT_TRUE(frame.screen == new_) << "style " << style;
  }
}

TEST_F(UpdateFrameTest, FirstFrameShowsTheOldImageExceptTheSplitSlivers) {
  // These styles draw intermediate pieces at least one pixel wide even at p = 0.
  const std::set<int32_t> slivers = {12, 13, 29, 30, 55, 56, 57};
  for (int32_t style = 1; style <= 127; ++style) {
    const auto frame = Compose(old_, new_, style, 0);
    if (slivers.contains(style)) {
      const int32_t shown = CountFromNewImage(frame.screen);
      EXPECT_GT(shown, 0) << "style " << style;
      EXPECT_LT(shown, 80 * 60 / 10) << "style " << style;
    } else {
      EXPECT_TRUE(frame.screen == old_) << "style " << style;
    }
  }
}

// A row that forgot to set its rectangles or region would show one of the two images unchanged.
TEST_F(UpdateFrameTest, HalfwayFrameIsNeitherImage) {
  for (int32_t style = 1; style <= 127; ++style) {
    const auto frame = Compose(old_, new_, style, 50);
    EXPECT_FALSE(frame.screen == old_) << "style " << style;
    EXPECT_FALSE(frame.screen == new_) << "style " << style;
  }
}

TEST(UpdateFrame, SlideFromTheRightShowsTheLeftHalfOfTheNewImage) {
  const Bitmap24 old_image = MakeOldImage(400, 300);
  const Bitmap24 new_image = MakeNewImage(400, 300);
  const auto frame = Compose(old_image, new_image, 3, 50);
  for (int32_t y = 0; y < 300; y += 7) {
    for (int32_t x = 0; x < 400; x += 3) {
      const Color expected = x < 200 ? old_image.pixel(x, y) : new_image.pixel(x - 200, y);
      ASSERT_EQ(frame.screen.pixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST_F(UpdateFrameTest, ZoomFromTheCentreLineStartsFromAnEmptySource) {
  EXPECT_TRUE(Compose(old_, new_, 9, 0).screen == old_);
  // One step on, the middle column of the new image already covers the whole frame.
  const auto frame = Compose(old_, new_, 9, 1);
  EXPECT_GT(CountFromNewImage(frame.screen), 0);
}

// The bottom-right curve uses a 2H × 2H corner where its three siblings use 2W × 2H: turned
// half round, the top-left curve gives the same shape only on a square image.
TEST(UpdateFrame, BottomRightCurveDiffersFromItsSiblingsOnWideImages) {
  auto differing_pixels = [](int32_t W, int32_t H) {
    const auto top_left = Compose(MakeOldImage(W, H), MakeNewImage(W, H), 80, 40).screen;
    const auto bottom_right = Compose(MakeOldImage(W, H), MakeNewImage(W, H), 83, 40).screen;
    int32_t differing = 0;
    for (int32_t y = 0; y < H; ++y)
      for (int32_t x = 0; x < W; ++x)
        differing +=
            FromNewImage(top_left, x, y) != FromNewImage(bottom_right, W - 1 - x, H - 1 - y);
    return differing;
  };
  EXPECT_LT(differing_pixels(120, 120), 120 * 2);  // a rounding seam at most
  EXPECT_GT(differing_pixels(240, 120), 240 * 120 / 50);
}

// On a 2 × 2 image at p = 1 the dissolve draws each of its four blocks with a 1% chance; from
// seed 1 the draws are 3, 86, 20, 27, so its builder returns no region and the frame adds nothing
// of the new image.
TEST(UpdateFrame, RegionStyleWithoutRegionAddsNothing) {
  set_random_seed(1);
  const Bitmap24 old_image = MakeOldImage(2, 2);
  const auto frame = Compose(old_image, MakeNewImage(2, 2), 127, 1);
  EXPECT_TRUE(frame.screen == old_image);
  EXPECT_EQ(frame.invalidated, (std::vector<Rect>{{0, 0, 2, 2}}));
  EXPECT_EQ(frame.calls.back(), "after");
}

TEST_F(UpdateFrameTest, StyleAboveTheCatalogueComposesNothing) {
  for (int32_t style : {128, 200, -1}) {
    const auto frame = Compose(old_, new_, style, 50);
    EXPECT_FALSE(frame.outcome.composed) << style;
    EXPECT_TRUE(frame.screen == old_) << style;
    EXPECT_TRUE(frame.invalidated.empty()) << style;
    EXPECT_EQ(frame.calls, (std::vector<std::string>{"before"})) << style;
  }
}

TEST_F(UpdateFrameTest, CustomStyleWithoutHandlerEndsAtOnce) {
  for (int32_t p : {0, 30, 100}) {
    const auto frame = Compose(old_, new_, 0, p);
    EXPECT_TRUE(frame.outcome.progress_forced_to_100) << p;
    EXPECT_TRUE(frame.outcome.composed) << p;
    EXPECT_TRUE(frame.screen == new_) << p;
    EXPECT_EQ(frame.invalidated, (std::vector<Rect>{{0, 0, 80, 60}})) << p;
  }
}

TEST_F(UpdateFrameTest, CustomStyleHandlerDrawsTheFrameAlone) {
  const auto frame = Compose(old_, new_, 0, 40, true);
  EXPECT_FALSE(frame.outcome.progress_forced_to_100);
  EXPECT_EQ(frame.calls, (std::vector<std::string>{"before", "custom", "invalidate", "after"}));
  EXPECT_EQ(frame.invalidated, (std::vector<Rect>{{0, 0, 80, 60}}));
  // Nothing of the new image is laid over the handler's frame before the last one.
  EXPECT_EQ(frame.screen.pixel(0, 0), testing::kCustomColour);
  EXPECT_EQ(frame.screen.pixel(79, 59), testing::kCustomColour);
  EXPECT_TRUE(Compose(old_, new_, 0, 100, true).screen == new_);
}

TEST_F(UpdateFrameTest, BeforeEventSeesTheOldImage) {
  Bitmap24 screen(80, 60);
  Bitmap24 picture = new_;
  FrameInputs frame{old_, picture, screen};
  frame.style = 5;
  frame.progress = 50;
  bool saw_old = false;
  bool saw_composed = false;
  frame.on_before_new_frame = [&](Bitmap24&, Bitmap24& s) { saw_old = s == old_; };
  frame.on_after_new_frame = [&](Bitmap24&, Bitmap24& s) { saw_composed = !(s == old_); };
  UpdateFrame(frame);
  EXPECT_TRUE(saw_old);
  EXPECT_TRUE(saw_composed);
}

TEST_F(UpdateFrameTest, MismatchedBitmapsAreLeftAlone) {
  Bitmap24 screen(40, 30);
  Bitmap24 picture = new_;
  FrameInputs frame{old_, picture, screen};
  frame.style = 5;
  frame.progress = 50;
  int events = 0;
  frame.on_before_new_frame = [&](Bitmap24&, Bitmap24&) { ++events; };
  EXPECT_FALSE(UpdateFrame(frame).composed);
  EXPECT_EQ(events, 0);
  EXPECT_TRUE(screen == Bitmap24(40, 30));
}

struct InvalidationCase {
  int32_t style;
  std::vector<Rect> expected;  // in call order, on a 400 × 300 image at p = 50
};

TEST(UpdateFrame, InvalidatesEachPieceAndTheFinalDestination) {
  // X = 200, Y = 150.
  const InvalidationCase cases[] = {
      {5, {{0, 0, 200, 300}}},                       // wipe: the uncovered part only
      {22, {{0, 0, 400, 150}}},                      // its vertical twin
      {3, {{200, 0, 600, 300}}},                     // slide: D reaches past the image
      {12, {{0, 0, 101, 300}, {299, 0, 400, 300}}},  // split: piece, then final
      {29, {{0, 0, 400, 76}, {0, 224, 400, 300}}},
      {54, {{0, 0, 400, 75}, {0, 225, 400, 300}, {0, 0, 100, 300}, {300, 0, 400, 300}}},
      {14, {{199, 0, 241, 300}, {0, 0, 200, 300}}},  // roll band b = W/10, one pixel wider
      {31, {{0, 149, 400, 181}, {0, 0, 400, 150}}},  // b = H/10, mirrored top-to-bottom
      {16, {{0, 0, 200, 300}, {200, 0, 400, 300}}},  // smear
      {60, {kWhole400x300}},                         // region and pixel styles: whole
      {127, {kWhole400x300}},
      {118, {kWhole400x300}},
      {121, {kWhole400x300}},
  };
  const Bitmap24 old_image = MakeOldImage(400, 300);
  const Bitmap24 new_image = MakeNewImage(400, 300);
  for (const InvalidationCase& c : cases) {
    EXPECT_EQ(Compose(old_image, new_image, c.style, 50).invalidated, c.expected)
        << "style " << c.style;
  }
}

TEST_F(UpdateFrameTest, EventsFrameTheInvalidation) {
  const auto frame = Compose(old_, new_, 13, 50);
  EXPECT_EQ(frame.calls, (std::vector<std::string>{"before", "invalidate", "invalidate", "after"}));
}

}  // namespace
}  // namespace ss
