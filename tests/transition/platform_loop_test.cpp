// The message loops the control runs on: the virtual one of the tests and the native one.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <thread>

#include "platform/headless/headless_loop.h"
#include "platform/posix/posix_loop.h"

namespace ss {
namespace {

TEST(HeadlessLoop, IdleWaitsMoveTheClockToTheNextTimerOrByTheTimeout) {
  HeadlessClock clock;
  HeadlessLoop loop(clock);
  std::vector<int> order;
  loop.post_after(30, [&] { order.push_back(2); });
  loop.post_after(10, [&] { order.push_back(1); });
  loop.post_after(30, [&] { order.push_back(3); });

  EXPECT_FALSE(loop.wait_message(5));
  EXPECT_EQ(clock.elapsed_ms(), 5u);
  EXPECT_TRUE(loop.wait_message(100));
  EXPECT_EQ(clock.elapsed_ms(), 10u);
  EXPECT_TRUE(loop.wait_message(100)) << "a pending message: no wait";
  EXPECT_EQ(clock.elapsed_ms(), 10u);
  loop.process_messages();
  EXPECT_EQ(order, (std::vector<int>{1}));
  EXPECT_TRUE(loop.wait_message(100));
  loop.process_messages();
  EXPECT_EQ(clock.elapsed_ms(), 30u);
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(loop.wait_message(7));
  EXPECT_EQ(clock.elapsed_ms(), 37u);
}

// Both loops serve another thread the same way.
struct LoopKind {
  const char* name;
  std::function<std::unique_ptr<MessageLoop>(HeadlessClock&)> make;
};

class LoopRequests : public ::testing::TestWithParam<LoopKind> {};

TEST_P(LoopRequests, AnotherThreadsRequestsRunOnTheGuiThreadAndReportErrors) {
  HeadlessClock clock;
  const std::unique_ptr<MessageLoop> loop = GetParam().make(clock);
  bool ran_on_gui = false;
  bool error_reached_worker = false;
  bool queued_ran = false;
  bool message_ran = false;
  loop->post([&] { message_ran = true; });
  std::thread worker([&] {
    loop->synchronize([&] { ran_on_gui = loop->is_gui_thread(); });
    try {
      loop->synchronize([] { throw std::runtime_error("in the request"); });
    } catch (const std::runtime_error&) {
      error_reached_worker = true;
    }
    loop->queue([&] { queued_ran = true; });
  });
  while (!queued_ran) loop->serve_requests(1000);
  worker.join();
  EXPECT_TRUE(ran_on_gui);
  EXPECT_TRUE(error_reached_worker);
  EXPECT_FALSE(message_ran) << "serving requests runs no ordinary message";
  EXPECT_TRUE(loop->process_messages());
  EXPECT_TRUE(message_ran);
  EXPECT_FALSE(loop->process_messages());
}

TEST_P(LoopRequests, AFailingMessageLeavesTheRestQueued) {
  HeadlessClock clock;
  const std::unique_ptr<MessageLoop> loop = GetParam().make(clock);
  int ran = 0;
  loop->post([] { throw std::runtime_error("message failed"); });
  loop->post([&] { ++ran; });
  EXPECT_THROW(loop->process_messages(), std::runtime_error);
  EXPECT_EQ(ran, 0);
  EXPECT_TRUE(loop->process_messages());
  EXPECT_EQ(ran, 1);
}

std::unique_ptr<MessageLoop> MakeHeadless(HeadlessClock& clock) {
  return std::make_unique<HeadlessLoop>(clock);
}
std::unique_ptr<MessageLoop> MakePosix(HeadlessClock&) {
  return std::make_unique<PosixLoop>();
}

INSTANTIATE_TEST_SUITE_P(Loops, LoopRequests,
                         ::testing::Values(LoopKind{"headless", MakeHeadless},
                                           LoopKind{"posix", MakePosix}),
                         [](const ::testing::TestParamInfo<LoopKind>& kind) {
                           return std::string(kind.param.name);
                         });

TEST(PosixLoop, AWaitEndsWhenAnotherThreadPosts) {
  PosixLoop loop;
  std::thread poster([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    loop.post([] {});
  });
  EXPECT_TRUE(loop.wait_message(60'000));
  poster.join();
}

}  // namespace
}  // namespace ss
