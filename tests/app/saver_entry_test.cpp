// The entry: the password-change mode, the instance guard and the hand-over to the three
// other modes, run on the headless platform.
#include "app/saver_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "show/saver_mode.h"
#include "support/saver_scratch.h"

namespace ss {
namespace {

using ss_test::SaverScratch;

// The index of the first log entry beginning with each prefix; -1 for one that is missing.
std::vector<int> positions(const CallLog& log, const std::vector<std::string>& prefixes) {
  const std::vector<std::string> texts = log.texts();
  std::vector<int> out;
  for (const std::string& prefix : prefixes) {
    int found = -1;
    for (size_t i = 0; i < texts.size() && found < 0; ++i)
      if (texts[i].starts_with(prefix)) found = static_cast<int>(i);
    out.push_back(found);
  }
  return out;
}

bool in_order(const std::vector<int>& at) {
  for (size_t i = 0; i < at.size(); ++i)
    if (at[i] < 0 || (i > 0 && at[i] <= at[i - 1])) return false;
  return true;
}

TSSFileLocations sunset_settings() {
  TSSFileLocations s;
  s.Title = "Sunset";
  s.Interval = 1000;
  s.EffectCommaList = CommaList({"0"});
  s.lExitKeyPress = true;
  s.Ver = "photo";
  return s;
}

struct PasswordCase {
  std::vector<std::string> args;
  InstanceGuardResult other_copy;
  bool entry_point;
  std::vector<std::string> log;
};

class ChangePasswordMode : public testing::TestWithParam<PasswordCase> {};

// Change-password mode runs before the guard, so a running copy never stops it, and a second
// argument that is no number ends it silently.
TEST_P(ChangePasswordMode, CallsTheSystemDialogOrNothing) {
  const PasswordCase& c = GetParam();
  HeadlessConfig config;
  config.executable_path = "/savers/Sunset.scr";
  config.instance_guard = c.other_copy;
  config.change_password_entry_point = c.entry_point;
  HeadlessPlatform platform(config);
  EXPECT_EQ(run_saver(c.args, platform), 0);
  EXPECT_EQ(saver_mode(), smChangePassword);
  EXPECT_EQ(platform.log().texts(), c.log);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ChangePasswordMode,
    testing::Values(PasswordCase{{"/a", "1234"},
                                 InstanceGuardResult::kCreated,
                                 true,
                                 {"password.change 1234 -> called"}},
                    PasswordCase{{"/a", "1234"},
                                 InstanceGuardResult::kAlreadyRunning,
                                 true,
                                 {"password.change 1234 -> called"}},
                    PasswordCase{{"apple", "77"},
                                 InstanceGuardResult::kCreated,
                                 true,
                                 {"password.change 77 -> called"}},
                    PasswordCase{{"-A", "5"},
                                 InstanceGuardResult::kCreated,
                                 false,
                                 {"password.change 5 -> no entry point"}},
                    PasswordCase{{"/a"}, InstanceGuardResult::kCreated, true, {}},
                    PasswordCase{{"/a", "12x"}, InstanceGuardResult::kCreated, true, {}}));

TEST(InstanceGuardTest, NamedAfterTheExecutablesFileName) {
  EXPECT_EQ(instance_guard_name("C:\\Savers\\Sunset.scr"), "Sunset.scrSemaphore");
  EXPECT_EQ(instance_guard_name("/opt/savers/My Saver.SCR"), "My Saver.SCRSemaphore");
  EXPECT_EQ(instance_guard_name("plain"), "plainSemaphore");
  // "表" in Shift-JIS ends in a backslash byte, which is part of the name.
  EXPECT_EQ(instance_guard_name("C:\\\x95\x5C.scr", LeadBytes::of_code_page(932)),
            "\x95\x5C.scrSemaphore");
}

class SecondCopy : public testing::TestWithParam<std::vector<std::string>> {};

// A second copy ends before it creates a window or looks at the package.
TEST_P(SecondCopy, EndsAtOnce) {
  SaverScratch scratch;
  HeadlessConfig config = scratch.config(scratch.build({ss_test::solid(8, 8, kWhite)}, {}));
  config.instance_guard = InstanceGuardResult::kAlreadyRunning;
  HeadlessPlatform platform(config);
  EXPECT_EQ(run_saver(GetParam(), platform), 0);
  EXPECT_EQ(platform.log().texts(),
            (std::vector<std::string>{"guard.create saver.scrSemaphore -> already running",
                                      "guard.close"}));
  EXPECT_EQ(platform.headless_preview().polls(), 0);
  EXPECT_EQ(platform.now_ms(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Modes, SecondCopy,
                         testing::Values(std::vector<std::string>{"/s"},
                                         std::vector<std::string>{"/c"}, std::vector<std::string>{},
                                         std::vector<std::string>{"/p", "20816"}));

TEST(SaverEntryTest, ShowModeRunsTheShowFormUntilItCloses) {
  SaverScratch scratch;
  HeadlessConfig config =
      scratch.config(scratch.build({ss_test::solid(8, 8, kWhite)}, sunset_settings()));
  config.input = {key_down(3000, 'A')};
  config.other_monitors = {{1024, 0, 1824, 600}};
  HeadlessPlatform platform(config);
  EXPECT_EQ(run_saver({"-S"}, platform), 0);
  EXPECT_EQ(saver_mode(), smShow);
  EXPECT_TRUE(in_order(positions(
      platform.log(), {"guard.create saver.scrSemaphore -> created", "window.create", "window.show",
                       "cover.show", "input.key", "window.close", "cover.close", "guard.close"})))
      << platform.log().dump();
  EXPECT_FALSE(platform.headless_desktop().guard_open());
  EXPECT_EQ(platform.now_ms(), 3000u);
}

TEST(SaverEntryTest, ConfigureModeRunsTheSetupDialogUntilOk) {
  SaverScratch scratch;
  HeadlessConfig config = scratch.config(scratch.build({}, sunset_settings()));
  config.other_monitors = {{1024, 0, 1824, 600}};
  HeadlessPlatform platform(config);
  std::string caption_seen;
  platform.app().post_guarded_after(100, [&] {
    HeadlessSetupView* view = platform.setup_view();
    ASSERT_NE(view, nullptr);
    caption_seen = view->window_caption();
    view->press_ok();
  });
  EXPECT_EQ(run_saver({"/c:1234"}, platform), 0);
  EXPECT_EQ(saver_mode(), smConfigure);
  EXPECT_EQ(caption_seen, "Setup [Sunset]");
  EXPECT_EQ(platform.now_ms(), 100u);
  EXPECT_EQ(platform.log().texts().back(), "guard.close");
  EXPECT_EQ(platform.setup_view(), nullptr);
  EXPECT_FALSE(platform.log().contains("cover.")) << "the dialog leaves the monitors alone";
}

TEST(SaverEntryTest, PreviewModePaintsAndEndsWithoutAForm) {
  SaverScratch scratch;
  HeadlessConfig config = scratch.config(scratch.build({ss_test::solid(8, 8, kWhite)}, {}));
  config.preview_visible_polls = 3;
  config.other_monitors = {{1024, 0, 1824, 600}};
  HeadlessPlatform platform(config);
  EXPECT_EQ(run_saver({"/p", "20816"}, platform), 0);
  EXPECT_EQ(saver_mode(), smPreview);
  EXPECT_EQ(platform.log().texts(),
            (std::vector<std::string>{"guard.create saver.scrSemaphore -> created",
                                      "preview.draw 20816 153x113", "guard.close"}));
}

TEST(SaverEntryTest, PreviewWithoutAWindowHandleEndsSilently) {
  SaverScratch scratch;
  HeadlessPlatform platform(scratch.config(scratch.build({ss_test::solid(8, 8, kWhite)}, {})));
  EXPECT_EQ(run_saver({"/p"}, platform), 0);
  EXPECT_EQ(platform.headless_preview().polls(), 0);
  EXPECT_TRUE(platform.app().errors().empty());
  EXPECT_FALSE(platform.headless_desktop().guard_open());
}

}  // namespace
}  // namespace ss
