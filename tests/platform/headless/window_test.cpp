// The show window: what the form hears, what reaches the screen image, and closing.
#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "recorders.h"

namespace ss {
namespace {

using headless_test::Events;
using headless_test::RecordingControl;
using headless_test::RecordingForm;
using Strings = std::vector<std::string>;

constexpr Color kRed = 0x0000FF;
constexpr Color kGreen = 0x00FF00;

struct WindowRig {
  explicit WindowRig(HeadlessConfig config = small_screen()) : platform(std::move(config)) {
    window->set_events(&form);
  }
  static HeadlessConfig small_screen() {
    HeadlessConfig config;
    config.screen_size = {64, 48};
    return config;
  }
  HeadlessPlatform platform;
  Events events{platform};
  RecordingForm form{events};
  std::unique_ptr<ShowWindow> window = platform.create_window();
};

TEST(HeadlessWindow, RunShowsAndActivatesTheMainWindowThenPaintsItAndCloseEndsTheRun) {
  WindowRig rig;
  RecordingControl control(rig.events, {10, 10, 20, 20}, kGreen);
  rig.form.on_activate = [&] {
    rig.window->attach(&control);
    rig.window->set_bounds({0, 0, 64, 48});
    rig.window->set_color(kRed);
  };
  int frames = 0;
  rig.platform.set_frame_presented([&](const Bitmap24& screen) {
    ++frames;
    EXPECT_EQ(screen.width(), 64);
  });
  rig.platform.app().headless_loop().post_after(2000, [&] { rig.window->close(); });
  rig.platform.application().run();

  EXPECT_EQ(rig.events.list, (Strings{"show", "activate", "resized 64x48", "close"}))
      << rig.platform.log().dump();
  EXPECT_EQ(rig.platform.now_ms(), 2000u) << "closing the main window ended the run";
  EXPECT_TRUE(rig.platform.application().terminated());
  EXPECT_EQ(frames, 1) << "the changes before the first paint share it";
  const Bitmap24& screen = rig.platform.screen();
  EXPECT_EQ(screen.pixel(5, 5), kRed);
  EXPECT_EQ(screen.pixel(10, 10), kGreen);
  EXPECT_EQ(screen.pixel(19, 19), kGreen);
  EXPECT_EQ(screen.pixel(20, 20), kRed);
  EXPECT_TRUE(rig.platform.log().has_subsequence(
      {"window.show", "window.bounds 0,0,64,48", "window.color 0x000000FF", "window.close"}));
}

TEST(HeadlessWindow, PaintsLandAtTheWindowsPlaceAndOnlyWhileItIsVisible) {
  WindowRig rig;
  RecordingControl control(rig.events, {0, 0, 8, 8}, kGreen);
  rig.window->set_bounds({30, 20, 40, 30});
  rig.window->attach(&control);
  rig.window->repaint_now();
  rig.window->invalidate({0, 0, 8, 8});
  rig.platform.run_for(10);
  EXPECT_EQ(control.paints, 0) << "hidden";

  rig.window->show();
  rig.window->repaint_now();
  EXPECT_EQ(control.paints, 1);
  for (int i = 0; i < 3; ++i) rig.window->invalidate({0, 0, 1, 1});
  rig.platform.run_for(10);
  EXPECT_EQ(control.paints, 2) << "invalidations share one pending paint";
  const Bitmap24& screen = rig.platform.screen();
  EXPECT_EQ(screen.pixel(30, 20), kGreen);
  EXPECT_EQ(screen.pixel(37, 27), kGreen);
  EXPECT_EQ(screen.pixel(38, 28), resolve_color(static_cast<Color>(0xFF00000Fu)));
  EXPECT_EQ(screen.pixel(29, 20), kBlack) << "outside the window";
}

TEST(HeadlessWindow, ControlPaintsAreClippedToTheWindowAndTheScreen) {
  WindowRig rig;
  RecordingControl control(rig.events, {-5, -5, 30, 30}, kGreen);
  rig.window->set_bounds({50, 40, 70, 60});  // runs off the 64 x 48 screen
  rig.window->attach(&control);
  rig.window->show();
  rig.window->repaint_now();
  const Bitmap24& screen = rig.platform.screen();
  EXPECT_EQ(screen.pixel(50, 40), kGreen);
  EXPECT_EQ(screen.pixel(63, 47), kGreen);
  EXPECT_EQ(screen.pixel(49, 40), kBlack);
}

TEST(HeadlessWindow, UserMessagesArriveLaterAndNotAfterClose) {
  WindowRig rig;
  rig.form.on_message = [&](uint32_t message) {
    if (message == 0x0402) rig.window->close();
  };
  rig.window->show();
  rig.window->post_user_message(0x0401);
  EXPECT_EQ(rig.events.list, (Strings{"show", "activate"})) << "posted, not sent";
  rig.window->post_user_message(0x0402);
  rig.window->post_user_message(0x0401);
  rig.platform.run_for(10);
  EXPECT_EQ(rig.events.list,
            (Strings{"show", "activate", "message 1025", "message 1026", "close"}));
}

TEST(HeadlessWindow, CloseRunsTheFormOnceAndAFailingCloseLeavesTheWindowOpen) {
  struct FailingForm final : FormEvents {
    void handle_show() override {}
    void handle_activate() override {}
    void handle_key_down(uint32_t, uint32_t) override {}
    void handle_mouse_move(uint32_t, int32_t, int32_t) override {}
    void handle_user_message(uint32_t) override {}
    void handle_close() override {
      if (fail) throw std::runtime_error("cannot close");
      ++closes;
      owner->close();  // closing again from inside does nothing
    }
    bool fail = true;
    int closes = 0;
    ShowWindow* owner = nullptr;
  } form;
  HeadlessPlatform platform;
  std::unique_ptr<ShowWindow> window = platform.create_window();
  form.owner = window.get();
  window->set_events(&form);
  window->show();
  EXPECT_THROW(window->close(), std::runtime_error);
  EXPECT_TRUE(window->visible());
  EXPECT_FALSE(platform.application().terminated());
  form.fail = false;
  window->close();
  window->close();
  EXPECT_EQ(form.closes, 1);
  EXPECT_FALSE(window->visible());
  EXPECT_TRUE(platform.application().terminated());
}

TEST(HeadlessWindow, OnlyTheFirstWindowEndsTheRun) {
  HeadlessPlatform platform;
  std::unique_ptr<ShowWindow> main_window = platform.create_window();
  std::unique_ptr<ShowWindow> other = platform.create_window();
  other->show();
  other->close();
  EXPECT_FALSE(platform.application().terminated());
  main_window->close();
  EXPECT_TRUE(platform.application().terminated());
}

}  // namespace
}  // namespace ss
