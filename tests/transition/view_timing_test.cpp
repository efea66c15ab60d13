// The unthreaded stepping loop on the virtual clock: pacing, messages between steps, and what
// message handlers can do to a running transition.
#include <gtest/gtest.h>

#include "view_rig.h"

namespace ss::view_test {
namespace {

// Records the virtual time of each step.
std::vector<uint64_t> StepTimes(Rig& rig) {
  auto times = std::make_shared<std::vector<uint64_t>>();
  rig.view.OnProgress = [&rig, times](TCustomTransitionView&) {
    times->push_back(rig.clock.elapsed_ms());
  };
  rig.view.Execute();
  return *times;
}

TEST(ViewTiming, EachStepWaitsUntilMoreThanDelayHasPassed) {
  const struct {
    int32_t delay;
    uint32_t start_tick;
    uint64_t gap;
  } cases[] = {
      {40, 0, 41},            // the default: 25 steps in 24 × 41 = 984 ms
      {40, 0xFFFFFF80u, 41},  // the tick count wraps during the transition
      {0, 0, 1},              // Delay 0 still waits for the tick to move
      {7, 0, 8},
  };
  for (const auto& c : cases) {
    Rig rig(300, 300, c.start_tick);
    rig.Unthreaded().SetDelay(c.delay);
    rig.view.SetPicture(SolidPicture(20, 10, kRed));
    const std::vector<uint64_t> times = StepTimes(rig);
    ASSERT_EQ(times.size(), 25u) << c.delay;
    for (size_t i = 0; i < times.size(); ++i) EXPECT_EQ(times[i], i * c.gap) << c.delay;
    EXPECT_EQ(rig.clock.elapsed_ms(), 24 * c.gap) << "no wait after the last step";
  }
}

TEST(ViewTiming, MessagesRunBetweenStepsAtTheirTime) {
  Rig rig;
  rig.Unthreaded().SetPicture(SolidPicture(20, 10, kRed));
  std::vector<std::pair<uint64_t, int32_t>> seen;
  const auto note = [&] { seen.emplace_back(rig.clock.elapsed_ms(), rig.view.Progress()); };
  rig.loop.post(note);  // pending before Execute: runs after the first step
  rig.loop.post_after(100, note);
  rig.loop.post_after(100, note);
  EXPECT_EQ(StepTimes(rig).back(), 984u);
  EXPECT_EQ(seen, (std::vector<std::pair<uint64_t, int32_t>>{{0, 4}, {100, 12}, {100, 12}}));
}

TEST(ViewTiming, StopFromAMessageEndsTheLoopWithoutCompleting) {
  Rig rig;
  rig.Record();
  rig.Unthreaded().SetPicture(SolidPicture(20, 10, kRed));
  Bitmap24 last_frame;
  rig.view.OnAfterNewFrame = [&](TCustomTransitionView&, Bitmap24&, Bitmap24& screen) {
    last_frame = screen;
  };
  rig.loop.post_after(100, [&] { rig.view.Stop(); });
  rig.view.Execute();
  EXPECT_EQ(rig.clock.elapsed_ms(), 100u);
  EXPECT_EQ(rig.view.Progress(), 12);
  EXPECT_FALSE(rig.view.Busy());
  EXPECT_EQ(rig.Count("complete"), 0);
  EXPECT_EQ(rig.view.NewImage(), nullptr);
  EXPECT_EQ(rig.view.ScreenBitmap(), last_frame);
}

TEST(ViewTiming, ExecuteFromAMessageIsIgnoredWhileBusy) {
  Rig rig;
  rig.Record();
  rig.Unthreaded().SetPicture(SolidPicture(20, 10, kRed));
  rig.loop.post_after(100, [&] { rig.view.Execute(); });
  rig.view.Execute();
  EXPECT_EQ(rig.progress.size(), 25u);
  EXPECT_EQ(rig.Count("complete"), 1);
}

TEST(ViewTiming, ManualFromAMessageHandsOverAndSwitchingBackResumes) {
  Rig rig;
  rig.Record();
  rig.Unthreaded().SetPicture(SolidPicture(20, 10, kRed));
  rig.loop.post_after(100, [&] { rig.view.SetManual(true); });
  rig.view.Execute();
  EXPECT_TRUE(rig.view.Busy());
  EXPECT_EQ(rig.view.Progress(), 12);
  EXPECT_EQ(rig.Count("complete"), 0);

  rig.view.SetManual(false);  // steps on inside the setter
  EXPECT_FALSE(rig.view.Busy());
  EXPECT_EQ(rig.progress.size(), 25u);
  EXPECT_EQ(rig.progress.back(), 100);
  EXPECT_EQ(rig.Count("complete"), 1);
}

TEST(ViewTiming, ManualModeIsDrivenByTheCaller) {
  Rig rig;
  rig.view.SetPicture(SolidPicture(20, 10, kRed));
  rig.Unthreaded().Execute();  // Progress 100 afterwards
  rig.view.SetManual(true);    // resets Progress while idle, without a frame
  EXPECT_EQ(rig.view.Progress(), 0);

  rig.Record();
  rig.view.Execute();
  EXPECT_TRUE(rig.view.Busy());
  EXPECT_TRUE(rig.log.empty()) << "no start frame: Progress already 0";

  rig.view.SetProgress(50);
  rig.view.SetProgress(50);
  rig.view.SetProgress(100);
  EXPECT_EQ(rig.log, (std::vector<std::string>{"before 50", "after 50", "progress 50", "before 100",
                                               "after 100", "progress 100"}));
  EXPECT_TRUE(rig.view.Busy()) << "reaching the end does not end a manual transition";

  rig.view.Stop();
  EXPECT_FALSE(rig.view.Busy());
  EXPECT_EQ(rig.Count("complete"), 0);
  EXPECT_EQ(rig.clock.elapsed_ms(), 984u) << "only the first transition waited";

  rig.view.SetReverse(true);
  rig.view.SetManual(false);
  EXPECT_EQ(rig.view.Progress(), 100);
}

TEST(ViewTiming, GoingBackRepaintsTheWholePicture) {
  Rig rig;
  rig.view.SetManual(true);
  rig.view.SetStyle(5);  // wipe from the left: a frame invalidates [0, X]
  rig.view.SetPicture(SolidPicture(200, 100, kRed));
  rig.view.Execute();
  rig.view.SetProgress(50);
  rig.host.clear_invalidated();
  rig.view.SetProgress(20);
  ASSERT_EQ(rig.host.invalidated().size(), 2u);
  EXPECT_EQ(rig.host.invalidated()[0], (Rect{0, 0, 200, 100}));
  EXPECT_EQ(rig.host.invalidated()[1], (Rect{0, 0, 40, 100}));
}

}  // namespace
}  // namespace ss::view_test
