// The black windows over the other monitors: made with the show, black, stacked like the show,
// taking the show's input by the show's rules, and gone with it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "show_rig.h"

namespace ss::show_test {
namespace {

constexpr Point kScreen{64, 48};
// One monitor to the right of the primary, one to its left.
const std::vector<Rect> kOthers = {{64, 0, 104, 30}, {-50, 0, 0, 48}};

SaverContents one_picture(const std::string& kind = "photo") {
  return {.pictures = {bmp_picture(solid(kScreen.x, kScreen.y, kWhite))},
          .settings = quiet_settings(kind)};
}

HeadlessConfig two_more_monitors(const ShowRig& rig) {
  HeadlessConfig config = rig.config(kScreen);
  config.other_monitors = kOthers;
  return config;
}

bool all_black(const Bitmap24& image) {
  for (int32_t y = 0; y < image.height(); ++y)
    for (int32_t x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != kBlack) return false;
  return !image.empty();
}

TEST(MonitorCovers, EachOtherMonitorGetsABlackWindowStackedLikeTheShowAndTheKeysStayWithTheShow) {
  for (const char* kind : {"photo", "powerpoint"}) {
    ShowRig rig;
    SaverContents contents = one_picture(kind);
    contents.settings.lExitKeyPress = true;
    rig.build(contents);
    rig.start(two_more_monitors(rig));
    rig.run_for(3000);
    const std::vector<HeadlessWindow*> covers = rig.platform().covers();
    ASSERT_EQ(covers.size(), 2u) << kind;
    for (size_t i = 0; i < covers.size(); ++i) {
      EXPECT_EQ(covers[i]->bounds(), kOthers[i]);
      EXPECT_TRUE(covers[i]->visible());
      EXPECT_EQ(covers[i]->topmost(), std::string(kind) == "photo") << kind;
      EXPECT_TRUE(all_black(covers[i]->own_image())) << kind << " cover " << i;
    }
    EXPECT_TRUE(rig.log().has_subsequence({"window.bounds 0,0,64,48", "screensaver.running 1",
                                           "cover.bounds 64,0,104,30", "cover.color 0x00000000",
                                           "cover.show"}))
        << rig.log().dump();
    EXPECT_EQ(rig.platform().window(), &rig.form().window()) << "the keyboard's window";
    EXPECT_TRUE(rig.form().ShowStarted());

    rig.platform().schedule(key_down(rig.platform().now_ms() + 10, 27));
    rig.run_for(100);
    EXPECT_TRUE(rig.platform().covers().empty()) << "closed with the show";
    EXPECT_TRUE(rig.log().has_subsequence(
        {"window.close", "cover.close", "cover.close", "screensaver.running 0"}))
        << rig.log().dump();
  }
}

TEST(MonitorCovers, APressOnACoverFollowsTheClickRule) {
  for (const bool click_exits : {true, false}) {
    ShowRig rig;
    SaverContents contents = one_picture();
    contents.settings.lExitMouseClick = click_exits;
    rig.build(contents);
    HeadlessConfig config = two_more_monitors(rig);
    config.input = {mouse_move(2000, 80, 10), mouse_down(2010, MouseButton::kRight)};
    rig.start(config);
    rig.run_for(3000);
    EXPECT_EQ(rig.log().contains("window.close"), click_exits);
    EXPECT_EQ(rig.platform().covers().size(), click_exits ? 0u : 2u);
  }
}

// Moves on a cover are measured in the show's coordinates against the one anchor: a step across
// the seam counts by its real length.
TEST(MonitorCovers, MovesOnACoverCountFromTheAnchorInTheShowsCoordinates) {
  ShowRig rig;
  SaverContents contents = one_picture();
  contents.settings.lExitMouseMove = true;
  rig.build(contents);
  rig.start(two_more_monitors(rig));
  rig.run_for(1500);
  const auto move = [&](int32_t x, int32_t y) {
    rig.platform().schedule(mouse_move(rig.platform().now_ms() + 10, x, y));
    rig.run_for(20);
    return rig.log().contains("window.close");
  };
  EXPECT_FALSE(move(62, 10)) << "anchors on the primary";
  EXPECT_FALSE(move(64, 20)) << "two to the right, on the cover: within the slack";
  EXPECT_TRUE(move(66, 24)) << rig.log().dump();
}

TEST(MonitorCovers, ASingleMonitorGetsNone) {
  ShowRig rig;
  rig.build(one_picture());
  rig.start(rig.config(kScreen));
  rig.run_for(3000);
  EXPECT_FALSE(rig.log().contains("cover."));
}

}  // namespace
}  // namespace ss::show_test
