// The application on the virtual clock: timers, the idle handler, errors and run limits.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "base/error.h"
#include "platform/headless/headless_platform.h"

namespace ss {
namespace {

struct TimerRig {
  HeadlessPlatform platform;
  Application& app = platform.application();
  std::vector<uint64_t> fired_at;
  std::unique_ptr<Timer> timer = app.create_timer();

  explicit TimerRig(uint32_t interval) {
    timer->set_enabled(false);
    timer->set_interval(interval);
    timer->set_handler([this] { fired_at.push_back(platform.now_ms()); });
  }
  // Runs the loop until virtual time `until`.
  void run_to(uint64_t until) { platform.run_for(until - platform.now_ms()); }
};

TEST(PostedTimer, FiresEveryIntervalWhileEnabled) {
  TimerRig rig(250);
  rig.timer->set_enabled(true);
  rig.run_to(1100);
  EXPECT_EQ(rig.fired_at, (std::vector<uint64_t>{250, 500, 750, 1000}));
  rig.timer->set_enabled(false);
  rig.run_to(3000);
  EXPECT_EQ(rig.fired_at.size(), 4u);
}

TEST(PostedTimer, EnablingOrChangingTheIntervalRestartsTheCount) {
  TimerRig rig(1000);
  rig.timer->set_enabled(true);
  rig.run_to(700);
  rig.timer->set_interval(500);  // restarts at 700
  rig.run_to(1300);
  rig.timer->set_enabled(false);
  rig.run_to(1400);
  rig.timer->set_enabled(true);  // restarts at 1400
  rig.run_to(2000);
  EXPECT_EQ(rig.fired_at, (std::vector<uint64_t>{1200, 1900}));
}

TEST(PostedTimer, SettingWhatIsAlreadySetKeepsTheCount) {
  TimerRig rig(1000);
  rig.timer->set_enabled(true);
  rig.run_to(600);
  rig.timer->set_enabled(true);
  rig.timer->set_interval(1000);
  rig.run_to(1100);
  EXPECT_EQ(rig.fired_at, (std::vector<uint64_t>{1000}));
}

TEST(PostedTimer, IntervalZeroNeverFires) {
  TimerRig rig(0);
  rig.timer->set_enabled(true);
  rig.run_to(10'000);
  EXPECT_TRUE(rig.fired_at.empty());
}

TEST(PostedTimer, AHandlerThatDisablesItsTimerStopsItAndOneThatFailsKeepsItGoing) {
  TimerRig rig(100);
  rig.timer->set_handler([&] {
    rig.fired_at.push_back(rig.platform.now_ms());
    if (rig.fired_at.size() == 1) throw std::runtime_error("tick failed");
    rig.timer->set_enabled(false);
  });
  rig.timer->set_enabled(true);
  rig.run_to(1000);
  EXPECT_EQ(rig.fired_at, (std::vector<uint64_t>{100, 200}));
  EXPECT_EQ(rig.platform.app().errors(), (std::vector<std::string>{"tick failed"}));
}

TEST(PostedTimer, ADestroyedTimerNeverFiresAgain) {
  TimerRig rig(100);
  rig.timer->set_enabled(true);
  rig.run_to(150);
  rig.timer.reset();
  rig.run_to(1000);
  EXPECT_EQ(rig.fired_at, (std::vector<uint64_t>{100}));
}

TEST(HeadlessApplication, IdleRunsOnceEachTimeTheLoopRunsDryBeforeItWaits) {
  HeadlessPlatform platform;
  HeadlessApplication& app = platform.app();
  std::vector<std::string> order;
  app.set_idle_handler([&] {
    order.push_back("idle " + std::to_string(platform.now_ms()));
    // The show posts its start message from here; that must not spin the loop.
    app.loop().post([&] { order.push_back("posted by idle"); });
  });
  app.loop().post([&] { order.push_back("message"); });
  app.headless_loop().post_after(500, [&] { order.push_back("timer"); });
  platform.run_for(1000);
  EXPECT_EQ(order,
            (std::vector<std::string>{"message", "idle 0", "posted by idle", "timer", "idle 500",
                                      "posted by idle", "idle 1000", "posted by idle"}));
}

TEST(HeadlessApplication, IdleHandlerCanRemoveItself) {
  HeadlessPlatform platform;
  HeadlessApplication& app = platform.app();
  int calls = 0;
  app.set_idle_handler([&] {
    ++calls;
    app.set_idle_handler({});
  });
  app.headless_loop().post_after(100, [] {});
  platform.run_for(300);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(app.has_idle_handler());
}

TEST(HeadlessApplication, ErrorsAreReportedAndTheLoopGoesOn) {
  HeadlessPlatform platform;
  HeadlessApplication& app = platform.app();
  std::vector<std::string> ran;
  // A plain posted message, a guarded one and the idle handler each fail once.
  app.loop().post([] { throw std::runtime_error("plain"); });
  app.loop().post([&] { ran.push_back("after plain"); });
  app.post_guarded([] { throw SaverError("guarded"); });
  app.post_guarded([] { throw 42; });
  bool idle_failed = false;
  app.set_idle_handler([&] {
    if (idle_failed) return;
    idle_failed = true;
    throw std::runtime_error("idle");
  });
  app.headless_loop().post_after(50, [&] { ran.push_back("timer"); });
  platform.run_for(100);
  EXPECT_EQ(ran, (std::vector<std::string>{"after plain", "timer"}));
  EXPECT_EQ(app.errors(), (std::vector<std::string>{"plain", "guarded", "Unknown error", "idle"}));
  EXPECT_TRUE(platform.log().has_subsequence({"app.error plain", "app.error guarded"}));
}

TEST(HeadlessApplication, AGuardedMessageReportsInsideANestedPumpWithoutAbortingIt) {
  HeadlessPlatform platform;
  HeadlessApplication& app = platform.app();
  bool nested_finished = false;
  app.post_guarded([&] {
    // Like a transition: pump the loop for a while, then go on.
    app.post_guarded([] { throw std::runtime_error("inner"); });
    app.headless_loop().run_until([] { return false; }, 200);
    nested_finished = true;
  });
  platform.run_for(1000);
  EXPECT_TRUE(nested_finished);
  EXPECT_EQ(app.errors(), (std::vector<std::string>{"inner"}));
}

TEST(HeadlessApplication, RunEndsOnTerminateOrAtItsLimit) {
  {
    HeadlessConfig config;
    config.run_limit_ms = 5000;
    HeadlessPlatform platform(config);
    platform.application().run();
    EXPECT_EQ(platform.now_ms(), 5000u);
    EXPECT_TRUE(platform.app().hit_time_limit());
    EXPECT_FALSE(platform.application().terminated());
  }
  {
    HeadlessPlatform platform;
    platform.app().headless_loop().post_after(1234, [&] { platform.application().terminate(); });
    platform.application().run();
    EXPECT_EQ(platform.now_ms(), 1234u);
    EXPECT_FALSE(platform.app().hit_time_limit());
    // Terminated stays terminated.
    platform.application().run();
    EXPECT_EQ(platform.now_ms(), 1234u);
  }
}

TEST(HeadlessApplication, AMessageThatRepostsItselfForeverStallsTheRunInsteadOfHangingIt) {
  HeadlessPlatform platform;
  std::function<void()> again = [&] { platform.application().loop().post(again); };
  platform.application().loop().post(again);
  EXPECT_FALSE(platform.run_for(1000));
  EXPECT_TRUE(platform.log().contains("app.stalled"));
}

}  // namespace
}  // namespace ss
