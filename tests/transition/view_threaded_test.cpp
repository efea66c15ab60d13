// Threaded transitions: the animation thread steps through the GUI thread, and Stop, Manual
// and destruction wait for it without deadlocking.
#include <gtest/gtest.h>

#include <stdexcept>

#include "view_rig.h"

namespace ss::view_test {
namespace {

struct ThreadedRig : Rig {
  explicit ThreadedRig(int32_t step) {
    loop.expect_other_threads();
    view.SetThreaded(true);
    view.SetDelay(1);
    view.SetStep(step);
    view.SetPicture(SolidPicture(40, 30, kRed));
    Record();
  }
  bool Pump(const std::function<bool()>& done) { return loop.run_until(done); }
  void PumpAWhile() {
    loop.run_until([] { return false; }, 200);
  }
  bool Idle() const { return !view.Busy() && !view.HasAnimationThread(); }
  // Calls action from OnProgress (on the GUI thread, inside a step) when Progress is `at`.
  void AtProgress(int32_t at, std::function<void()> action) {
    const TNotifyEvent logged = view.OnProgress;
    view.OnProgress = [=](TCustomTransitionView& v) {
      logged(v);
      if (v.Progress() == at) action();
    };
  }
};

std::vector<int32_t> Range(int32_t from, int32_t to, int32_t step) {
  std::vector<int32_t> r;
  for (int32_t p = from; p <= to; p += step) r.push_back(p);
  return r;
}

TEST(ViewThreaded, ExecuteReturnsAtOnceAndTheThreadRunsToTheEnd) {
  ThreadedRig rig(30);
  rig.view.Execute();
  EXPECT_TRUE(rig.view.Busy());
  EXPECT_TRUE(rig.log.empty()) << "no step runs until the GUI thread serves it";
  ASSERT_TRUE(rig.Pump([&] { return rig.Idle(); }));
  EXPECT_EQ(rig.progress, (std::vector<int32_t>{30, 60, 90, 100}));
  EXPECT_EQ(rig.log.back(), "complete");
  EXPECT_EQ(rig.Count("complete"), 1);
}

TEST(ViewThreaded, StopReturnsAfterTheThreadEndedWithoutCompleting) {
  // A long delay: Stop has to wake the sleeping thread rather than wait out its sleep.
  for (int32_t delay : {1, 65535}) {
    ThreadedRig rig(1);
    rig.view.SetDelay(delay);
    rig.view.Execute();
    const size_t steps_first = delay == 1 ? 3 : 1;
    ASSERT_TRUE(rig.Pump([&] { return rig.progress.size() >= steps_first; }));
    rig.view.Stop();
    EXPECT_TRUE(rig.Idle());
    const auto log = rig.log;
    rig.PumpAWhile();  // nothing more comes
    EXPECT_EQ(rig.log, log);
    EXPECT_EQ(rig.Count("complete"), 0);
  }
}

TEST(ViewThreaded, DestructionWaitsForTheThreadAndFiresNothing) {
  ThreadedRig rig(1);
  rig.view.Execute();
  ASSERT_TRUE(rig.Pump([&] { return rig.progress.size() >= 3; }));
  const auto log = rig.log;
  rig.owned.reset();
  EXPECT_EQ(rig.log, log);
}

TEST(ViewThreaded, ManualHandsOverAndSwitchingBackResumesOnANewThread) {
  enum Resume { kLater, kFromAMessage, kInTheSameStep };
  for (Resume resume : {kLater, kFromAMessage, kInTheSameStep}) {
    ThreadedRig rig(10);
    rig.AtProgress(20, [&] {
      rig.view.SetManual(true);
      if (resume == kInTheSameStep) rig.view.SetManual(false);
      // Before the stopped thread has ended: it must end first, never two stepping at once.
      if (resume == kFromAMessage) rig.loop.post([&] { rig.view.SetManual(false); });
    });
    rig.view.Execute();
    if (resume == kLater) {
      ASSERT_TRUE(rig.Pump([&] { return !rig.view.HasAnimationThread(); }));
      EXPECT_TRUE(rig.view.Busy());
      EXPECT_EQ(rig.view.Progress(), 20);
      rig.view.SetManual(false);
    }
    ASSERT_TRUE(rig.Pump([&] { return rig.Idle(); })) << resume;
    EXPECT_EQ(rig.progress, Range(10, 100, 10)) << resume;
    EXPECT_EQ(rig.Count("complete"), 1) << resume;
  }
}

TEST(ViewThreaded, StopFromInsideAStepEndsTheTransitionAtOnce) {
  ThreadedRig rig(10);
  rig.AtProgress(20, [&] { rig.view.Stop(); });
  rig.view.Execute();
  ASSERT_TRUE(rig.Pump([&] { return !rig.view.Busy(); }));
  EXPECT_FALSE(rig.view.HasAnimationThread());
  rig.PumpAWhile();
  EXPECT_EQ(rig.progress, (std::vector<int32_t>{10, 20}));
  EXPECT_EQ(rig.Count("complete"), 0);
}

TEST(ViewThreaded, AHandlerErrorEndsTheTransitionAndReachesTheLoop) {
  ThreadedRig rig(10);
  rig.AtProgress(20, [] { throw std::runtime_error("handler failed"); });
  rig.view.Execute();
  EXPECT_THROW(rig.Pump([&] { return rig.Idle(); }), std::runtime_error);
  EXPECT_TRUE(rig.Idle());
  EXPECT_EQ(rig.view.NewImage(), nullptr);
  EXPECT_EQ(rig.Count("complete"), 0);
}

}  // namespace
}  // namespace ss::view_test
