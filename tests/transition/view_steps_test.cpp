// Progress sequences, event order and the property stores of the picture control.
#include <gtest/gtest.h>

#include <stdexcept>

#include "view_rig.h"

namespace ss::view_test {
namespace {

struct StepCase {
  int32_t step;
  bool reverse;
  std::vector<int32_t> progress;
};

TEST(ViewSteps, ProgressRunsByStepToTheEndThenCompletesOnce) {
  std::vector<int32_t> by_four;
  for (int32_t p = 4; p <= 100; p += 4) by_four.push_back(p);
  std::vector<int32_t> by_three;
  for (int32_t p = 3; p < 100; p += 3) by_three.push_back(p);
  by_three.push_back(100);  // ceiling(100 / 3) = 34 steps

  const StepCase cases[] = {
      {30, false, {30, 60, 90, 100}},
      // The first reversed Execute moves from the initial 0 to 100 first: one start frame.
      {30, true, {100, 70, 40, 10, 0}},
      {100, false, {100}},
      {4, false, by_four},
      {3, false, by_three},
  };
  for (const StepCase& c : cases) {
    Rig rig;
    rig.Record();
    rig.Unthreaded().SetStep(c.step);
    rig.view.SetReverse(c.reverse);
    rig.view.SetPicture(SolidPicture(40, 30, kRed));
    rig.view.Execute();
    EXPECT_EQ(rig.progress, c.progress) << "step " << c.step << " reverse " << c.reverse;
    EXPECT_EQ(rig.log.back(), "complete");
    EXPECT_EQ(rig.Count("complete"), 1);
    EXPECT_FALSE(rig.view.Busy());
    EXPECT_EQ(rig.view.OldImage(), nullptr);
    EXPECT_EQ(rig.view.NewImage(), nullptr);
    // Forward ends on the new picture; reverse on the old image (black: never painted).
    EXPECT_EQ(rig.view.ScreenBitmap(), Solid(40, 30, c.reverse ? kBlack : kRed));
  }
}

struct OrderCase {
  const char* name;
  int32_t style;
  std::vector<std::string> first;   // events of the first Execute
  std::vector<std::string> second;  // events of the next one
};

TEST(ViewSteps, EventOrderAndTheStartFrameOfLaterTransitions) {
  const OrderCase cases[] = {
      {"wipe",
       5,
       {"before 50", "after 50", "progress 50", "before 100", "after 100", "progress 100",
        "complete"},
       {"before 0", "after 0", "progress 0", "before 50", "after 50", "progress 50", "before 100",
        "after 100", "progress 100", "complete"}},
      // Custom style without a handler: the new image at once, the transition ends.
      {"custom",
       0,
       {"before 50", "after 50", "progress 100", "complete"},
       {"before 0", "after 0", "progress 100", "complete"}},
      // Styles above the catalogue compose nothing after the before-frame event.
      {"unknown",
       200,
       {"before 50", "progress 50", "before 100", "progress 100", "complete"},
       {"before 0", "progress 0", "before 50", "progress 50", "before 100", "progress 100",
        "complete"}},
  };
  for (const OrderCase& c : cases) {
    Rig rig;
    rig.Unthreaded().SetStep(50);
    rig.view.SetStyle(c.style);
    rig.view.SetPicture(SolidPicture(20, 10, kBlue));
    rig.Record();
    rig.view.Execute();
    EXPECT_EQ(rig.log, c.first) << c.name;
    rig.log.clear();
    rig.view.Execute();
    EXPECT_EQ(rig.log, c.second) << c.name;
  }
}

TEST(ViewSteps, CustomDrawHandlerDrawsEachFrame) {
  Rig rig;
  rig.Unthreaded().SetStep(50);
  rig.view.SetStyle(0);
  std::vector<int32_t> drawn;
  rig.view.OnCustomDraw = [&](TCustomTransitionView& v, Bitmap24& picture, Bitmap24& screen) {
    EXPECT_EQ(picture, Solid(20, 10, kBlue));
    EXPECT_EQ(&screen, &v.ScreenBitmap());
    drawn.push_back(v.Progress());
  };
  rig.view.SetPicture(SolidPicture(20, 10, kBlue));
  rig.view.Execute();
  EXPECT_EQ(drawn, (std::vector<int32_t>{50, 100}));
}

TEST(ViewSteps, StoresKeepTheirRanges) {
  Rig rig;
  TTransitionView& v = rig.view;
  const struct {
    int32_t written, step, delay, style;
  } cases[] = {
      {0, 1, 0, 0}, {500, 100, 500, 255}, {-3, 1, 0, 0}, {70000, 100, 65535, 255}, {7, 7, 7, 7}};
  for (const auto& c : cases) {
    v.SetStep(c.written);
    v.SetDelay(c.written);
    v.SetStyle(c.written);
    EXPECT_EQ(v.Step(), c.step) << c.written;
    EXPECT_EQ(v.Delay(), c.delay) << c.written;
    EXPECT_EQ(v.Style(), c.style) << c.written;
  }
}

TEST(ViewSteps, ExecuteWithoutAPictureAndProgressOutsideATransitionDoNothing) {
  Rig rig;
  rig.Record();
  rig.Unthreaded().Execute();
  rig.view.SetPicture(Picture(std::make_shared<const EmptyGraphic>()));
  rig.view.Execute();
  rig.view.SetProgress(50);
  EXPECT_FALSE(rig.view.Busy());
  EXPECT_EQ(rig.view.Progress(), 0);
  EXPECT_TRUE(rig.log.empty());
}

TEST(ViewSteps, HandlerErrorLeavesExecuteWithTheTransitionReleased) {
  Rig rig;
  rig.Unthreaded().SetStep(20);
  rig.view.SetPicture(SolidPicture(20, 10, kBlue));
  rig.view.OnProgress = [](TCustomTransitionView& v) {
    if (v.Progress() == 40) throw std::runtime_error("handler failed");
  };
  EXPECT_THROW(rig.view.Execute(), std::runtime_error);
  EXPECT_FALSE(rig.view.Busy());
  EXPECT_EQ(rig.view.OldImage(), nullptr);
  EXPECT_EQ(rig.view.NewImage(), nullptr);

  rig.view.OnProgress = nullptr;
  int completed = 0;
  rig.view.OnComplete = [&](TCustomTransitionView&) { ++completed; };
  rig.view.Execute();
  EXPECT_EQ(completed, 1);
}

}  // namespace
}  // namespace ss::view_test
