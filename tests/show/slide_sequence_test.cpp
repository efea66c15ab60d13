// The order and the timing of the slides: which picture comes next, which effect brings it in,
// when the next step starts, and the hand-over to the movies of the "flash" kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/random.h"
#include "show_rig.h"
#include "transition/transition_view.h"

namespace ss::show_test {
namespace {

constexpr Point kScreen{64, 48};

// Picture i is a screen-sized block of colour colour_of(i), so the centre of the control's
// screen bitmap says which picture a transition brought in.
Color colour_of(int i) {
  return rgb(static_cast<uint8_t>(20 * (i + 1)), 7, 99);
}

std::vector<PictureItem> numbered_pictures(int n) {
  std::vector<PictureItem> pictures;
  for (int i = 0; i < n; ++i)
    pictures.push_back(bmp_picture(solid(kScreen.x, kScreen.y, colour_of(i))));
  return pictures;
}

// What a show did: the picture and style of every finished transition, when it finished, and
// when every transition began (its first progress event).
struct SlideRecord {
  std::vector<int> pictures;
  std::vector<int32_t> styles;
  std::vector<uint64_t> finished_at;
  std::vector<uint64_t> started_at;
};

void record_slides(ShowRig& rig, SlideRecord& out, int pictures) {
  TTransitionView& view = rig.form().PShow();
  view.OnComplete = [&rig, &out, pictures](TCustomTransitionView& v) {
    const Color centre = v.ScreenBitmap().pixel(kScreen.x / 2, kScreen.y / 2);
    int index = -1;
    for (int i = 0; i < pictures; ++i)
      if (colour_of(i) == centre) index = i;
    out.pictures.push_back(index);
    out.styles.push_back(v.Style());
    out.finished_at.push_back(rig.platform().now_ms());
  };
  // The first progress event of a transition comes from its Execute.
  view.OnProgress = [&rig, &out](TCustomTransitionView&) {
    if (out.started_at.size() == out.finished_at.size())
      out.started_at.push_back(rig.platform().now_ms());
  };
}

SlideRecord run_show(ShowRig& rig, const SaverContents& contents, uint64_t run_ms,
                     HeadlessConfig config) {
  rig.build(contents);
  rig.start(std::move(config));
  SlideRecord record;
  record_slides(rig, record, static_cast<int>(contents.pictures.size()));
  rig.run_for(run_ms);
  return record;
}

SlideRecord run_show(ShowRig& rig, const SaverContents& contents, uint64_t run_ms) {
  return run_show(rig, contents, run_ms, rig.config(kScreen));
}

TEST(SlideSequence, SequentialPicturesWrapAndWaitIntervalAfterEachTransition) {
  ShowRig rig;
  SaverContents contents{.pictures = numbered_pictures(3), .settings = quiet_settings()};
  contents.settings.Interval = 5000;
  const SlideRecord r = run_show(rig, contents, 26'000);
  EXPECT_EQ(r.pictures, (std::vector<int>{0, 1, 2, 0, 1}));
  ASSERT_GE(r.started_at.size(), 5u);
  // The next step starts Interval after the previous transition ended, not after it began.
  for (size_t i = 1; i < r.finished_at.size(); ++i)
    EXPECT_EQ(r.started_at[i] - r.finished_at[i - 1], 5000u) << "slide " << i;
}

TEST(SlideSequence, RandomOrderFollowsTheGeneratorFromItsFirstDraw) {
  ShowRig rig;
  SaverContents contents{.pictures = numbered_pictures(10), .settings = quiet_settings()};
  contents.settings.lRandomPic = true;
  contents.settings.Interval = 100;
  const SlideRecord r = run_show(rig, contents, 8 * 1100 + 500);
  ASSERT_GE(r.pictures.size(), 8u);
  EXPECT_EQ(std::vector<int>(r.pictures.begin(), r.pictures.begin() + 8),
            (std::vector<int>{0, 0, 8, 2, 2, 6, 3, 1}));
}

// The generator advances once per draw; the number of draws between two seeds.
int draws_between(uint32_t from, uint32_t to) {
  for (int n = 0; n < 10'000'000; ++n) {
    if (from == to) return n;
    from = from * 134775813u + 1u;
  }
  return -1;
}

// How many draws one transition of `style` makes on screen-sized images: the first after the
// control was made, and every later one (which also composes a frame at progress 0).
std::pair<int, int> region_draws_of(int32_t style) {
  ShowRig rig;
  rig.build({.pictures = numbered_pictures(1), .settings = quiet_settings()});
  rig.start(rig.config(kScreen));
  TTransitionView& view = rig.form().PShow();
  view.SetStyle(style);
  std::pair<int, int> draws;
  for (int* count : {&draws.first, &draws.second}) {
    view.SetPicture(Picture::from_bitmap(solid(kScreen.x, kScreen.y, colour_of(0))));
    const uint32_t before = random_seed();
    view.Execute();
    *count = draws_between(before, random_seed());
  }
  return draws;
}

TEST(SlideSequence, DrawsInterleaveMusicPictureEffectAndRegionBuilders) {
  constexpr int32_t kDissolve = 127;
  const auto [first_dissolve, later_dissolve] = region_draws_of(kDissolve);
  ASSERT_GT(first_dissolve, 0);
  EXPECT_EQ(region_draws_of(1), std::make_pair(0, 0));

  ShowRig rig;
  SaverContents contents{.pictures = numbered_pictures(10),
                         .music = {{"a.mid", "a"}, {"b.mid", "b"}, {"c.mid", "c"}},
                         .settings = quiet_settings()};
  contents.settings.lRandomPic = true;
  contents.settings.lRandomStyle = true;
  contents.settings.EffectCommaList.set_comma_text("1,127");
  contents.settings.SoundRandom = 3;
  contents.settings.Interval = 100;
  HeadlessConfig config = rig.config(kScreen);
  config.media_default.duration_ms = 3'600'000;  // one draw for the music, at activation
  const SlideRecord r = run_show(rig, contents, 12 * 1100, config);
  ASSERT_GE(r.pictures.size(), 8u);

  // The same draws, made in the order the show makes them.
  set_random_seed(0);
  EXPECT_EQ(Random(3), 0);  // the repeated track
  std::vector<int> pictures;
  std::vector<int32_t> styles;
  for (size_t i = 0; i < r.pictures.size(); ++i) {
    pictures.push_back(Random(10));
    styles.push_back(Random(2) == 0 ? 1 : kDissolve);
    if (styles.back() == kDissolve) {
      const int draws = i == 0 ? first_dissolve : later_dissolve;
      for (int d = 0; d < draws; ++d) Random(100);
    }
  }
  EXPECT_EQ(r.pictures, pictures);
  EXPECT_EQ(r.styles, styles);
  EXPECT_NE(std::count(styles.begin(), styles.end(), kDissolve), 0);
}

TEST(SlideSequence, EffectsInOrderWrapAndAnEmptyListGivesStyleZero) {
  struct Case {
    const char* effects;
    std::vector<int32_t> styles;
  };
  for (const Case& c :
       {Case{"3,5,7", {3, 5, 7, 3, 5}}, Case{"", {0, 0, 0, 0, 0}}, Case{"9,x", {9, 0, 9, 0, 9}}}) {
    ShowRig rig;
    SaverContents contents{.pictures = numbered_pictures(2), .settings = quiet_settings()};
    contents.settings.EffectCommaList.set_comma_text(c.effects);
    contents.settings.Interval = 100;
    const SlideRecord r = run_show(rig, contents, 5 * 1100 + 50);
    ASSERT_GE(r.styles.size(), 5u) << c.effects;
    EXPECT_EQ(std::vector<int32_t>(r.styles.begin(), r.styles.begin() + 5), c.styles) << c.effects;
  }
}

TEST(SlideSequence, IntervalZeroShowsOnlyTheFirstPicture) {
  ShowRig rig;
  SaverContents contents{.pictures = numbered_pictures(3), .settings = quiet_settings()};
  contents.settings.Interval = 0;
  const SlideRecord r = run_show(rig, contents, 30'000);
  EXPECT_EQ(r.pictures, std::vector<int>{0});
  EXPECT_TRUE(rig.platform().app().errors().empty());
}

TEST(SlideSequence, NoPicturesShowNothingAndTheTimerNeverRuns) {
  ShowRig rig;
  const SlideRecord r = run_show(rig, {.settings = quiet_settings()}, 10'000);
  EXPECT_TRUE(r.pictures.empty());
  EXPECT_FALSE(rig.form().SlideTimer().enabled());
  EXPECT_TRUE(rig.form().ShowStarted());
  EXPECT_TRUE(rig.platform().app().errors().empty());
}

TEST(SlideSequence, FlashKindHandsOverToTheMoviesAfterTheLastPictureForGood) {
  for (const bool random : {false, true}) {
    ShowRig rig;
    SaverContents contents{.pictures = numbered_pictures(2),
                           .movies = {{"m0.swf", "0"}, {"m1.swf", "1"}},
                           .settings = quiet_settings("flash")};
    contents.settings.lRandomPic = random;
    const SlideRecord r = run_show(rig, contents, 30'000);
    const std::vector<std::string> movies = entries(rig.log(), "flash.movie");
    if (random) {  // pictures for ever, no movie
      EXPECT_GE(r.pictures.size(), 10u);
      EXPECT_TRUE(movies.empty());
      EXPECT_TRUE(rig.form().PShow().Visible());
      continue;
    }
    EXPECT_EQ(r.pictures, (std::vector<int>{0, 1}));
    EXPECT_FALSE(rig.form().PShow().Visible());
    EXPECT_FALSE(rig.form().SlideTimer().enabled());
    ASSERT_GE(movies.size(), 2u);
    EXPECT_EQ(movies[0], "flash.movie " + *rig.media_dir() + "m0.swf");
    EXPECT_EQ(movies[1], "flash.movie " + *rig.media_dir() + "m1.swf");
    // The first movie starts only once both pictures have been shown.
    EXPECT_GT(*rig.log().time_of(movies[0]), r.finished_at[1]);
  }
}

TEST(SlideSequence, AFailedStepIsReportedAndLeavesTheShowOnTheLastPicture) {
  ShowRig rig;
  SaverContents contents{.pictures = numbered_pictures(3), .settings = quiet_settings()};
  contents.settings.Interval = 100;
  // Not a number: it reads as offset 0, the start of the runtime, which holds no picture.
  contents.edit_lists = [](TSSFileLocations& s) { s.PicCommaList.items()[1] = "x"; };
  const SlideRecord r = run_show(rig, contents, 10'000);
  EXPECT_EQ(r.pictures, std::vector<int>{0});
  EXPECT_EQ(rig.platform().app().errors().size(), 1u);
  EXPECT_FALSE(rig.form().SlideTimer().enabled());
  EXPECT_EQ(rig.form().PicIndex(), 1);
}

TEST(SlideSequence, ClearOldImageStartsTheTransitionFromBlack) {
  for (const bool clear : {false, true}) {
    ShowRig rig;
    SaverContents contents{.pictures = numbered_pictures(2), .settings = quiet_settings()};
    contents.settings.lClearOldImage = clear;
    contents.settings.Interval = 100;
    rig.build(contents);
    rig.start(rig.config(kScreen));
    std::vector<Color> old_centres;
    rig.form().PShow().OnBeforeNewFrame = [&](TCustomTransitionView& v, Bitmap24&, Bitmap24&) {
      if (v.OldImage() != nullptr) old_centres.push_back(v.OldImage()->pixel(32, 24));
    };
    rig.run_for(1100 + 500);  // into the second transition
    ASSERT_FALSE(old_centres.empty());
    EXPECT_EQ(old_centres.back(), clear ? kBlack : colour_of(0)) << clear;
  }
}

}  // namespace
}  // namespace ss::show_test
