// The desktop's configured answers: the password switch and check, questions, hook and guard.
#include <gtest/gtest.h>

#include "base/error.h"
#include "platform/headless/headless_platform.h"

namespace ss {
namespace {

using Strings = std::vector<std::string>;

TEST(HeadlessDesktop, PasswordSwitchAnswersAsConfigured) {
  struct Case {
    PasswordSwitch password_switch;
    int32_t value;
    std::optional<int32_t> answer;  // nullopt: no key
    bool throws;
    const char* logged;
  };
  const Case cases[] = {
      {PasswordSwitch::kKeyMissing, 1, std::nullopt, false, "password.switch -> no key"},
      {PasswordSwitch::kValueMissing, 1, std::nullopt, true, "password.switch -> no value"},
      {PasswordSwitch::kValue, 0, 0, false, "password.switch -> 0"},
      {PasswordSwitch::kValue, 1, 1, false, "password.switch -> 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.logged);
    HeadlessConfig config;
    config.password_switch = c.password_switch;
    config.password_value = c.value;
    HeadlessPlatform platform(config);
    if (c.throws) {
      EXPECT_THROW(platform.desktop().screen_save_use_password(), SaverError);
    } else {
      EXPECT_EQ(platform.desktop().screen_save_use_password(), c.answer);
    }
    EXPECT_EQ(platform.log().texts(), Strings{c.logged});
  }
}

TEST(HeadlessDesktop, PasswordCheckAnswersFromItsQueueThenItsDefault) {
  HeadlessConfig config;
  config.verify_answers = {false, true};
  config.verify_default = false;
  HeadlessPlatform platform(config);
  Desktop& desktop = platform.desktop();
  EXPECT_EQ(desktop.verify_screen_save_password(1), false);
  EXPECT_EQ(desktop.verify_screen_save_password(1), true);
  EXPECT_EQ(desktop.verify_screen_save_password(1), false);
  platform.config().password_entry_point = false;
  EXPECT_THROW(desktop.verify_screen_save_password(1), SaverError);
  platform.config().password_component_loads = false;
  EXPECT_EQ(desktop.verify_screen_save_password(1), std::nullopt);
  EXPECT_EQ(
      platform.log().texts(),
      (Strings{"password.verify -> cancel", "password.verify -> ok", "password.verify -> cancel",
               "password.verify -> no entry point", "password.verify -> no component"}));
}

TEST(HeadlessDesktop, AHookMayRemoveItselfWhileHandlingAnEvent) {
  HeadlessConfig config;
  config.input = {mouse_move(10, 1, 0), mouse_move(20, 2, 0)};
  HeadlessPlatform platform(config);
  int calls = 0;
  platform.desktop().install_input_hook([&](HookedInput, Point) {
    ++calls;
    platform.desktop().remove_input_hook();
  });
  platform.run_for(100);
  EXPECT_EQ(calls, 1);
}

TEST(HeadlessPreview, VisibleAfterItsHiddenPollsUntilItsLimitThenGoneForGood) {
  HeadlessConfig config;
  config.preview_hidden_polls = 2;
  config.preview_visible_polls = 3;
  HeadlessPlatform platform(config);
  PreviewTarget& preview = platform.preview();
  const intptr_t handle = config.preview_window;
  std::string seen;
  for (int i = 0; i < 8; ++i) seen += preview.is_visible(handle) ? '1' : '0';
  EXPECT_EQ(seen, "00111000");
  EXPECT_FALSE(preview.is_visible(handle + 1));
  EXPECT_EQ(preview.window_rect(handle + 1), Rect{});

  HeadlessConfig timed;
  timed.preview_visible_until_ms = 500;
  HeadlessPlatform platform2(timed);
  EXPECT_TRUE(platform2.preview().is_visible(handle));
  platform2.run_for(499);
  EXPECT_TRUE(platform2.preview().is_visible(handle));
  platform2.run_for(1);
  EXPECT_FALSE(platform2.preview().is_visible(handle));
}

TEST(HeadlessPreview, DrawingIsClippedToTheWindow) {
  HeadlessPlatform platform;
  const intptr_t handle = platform.config().preview_window;
  const Rect rect = platform.preview().window_rect(handle);
  ASSERT_EQ(rect.width(), 152);
  ASSERT_EQ(rect.height(), 112);
  Bitmap24 picture(rect.width() + 1, rect.height() + 1);
  for (int32_t y = 0; y < picture.height(); ++y)
    for (int32_t x = 0; x < picture.width(); ++x) picture.set_pixel(x, y, kWhite);
  platform.preview().draw(handle, picture);
  const Bitmap24& image = platform.headless_preview().image();
  EXPECT_EQ(image.width(), 152);
  EXPECT_EQ(image.pixel(151, 111), kWhite);
  EXPECT_EQ(platform.log().texts().back(), "preview.draw " + std::to_string(handle) + " 153x113");
}

}  // namespace
}  // namespace ss
