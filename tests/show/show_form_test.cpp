// The show form's life: activation and what it does to the screen, the exit rules, the
// password check, the private messages, and the media copies it leaves and removes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "show/input_hook.h"
#include "show/saver_mode.h"
#include "show_rig.h"

namespace ss::show_test {
namespace {

constexpr Point kScreen{64, 48};

SaverContents one_picture(const std::string& kind = "photo") {
  return {.pictures = {bmp_picture(solid(kScreen.x, kScreen.y, kWhite))},
          .settings = quiet_settings(kind)};
}

bool closed(ShowRig& rig) {
  return rig.log().contains("window.close");
}

TEST(ShowActivation, CoversTheScreenInOrderAndShowsTheFirstSlideWhenIdle) {
  struct Case {
    const char* kind;
    bool topmost;
  };
  for (const Case& c : {Case{"photo", true}, Case{"powerpoint", false}, Case{"other", true}}) {
    ShowRig rig;
    SaverContents contents = one_picture(c.kind);
    contents.settings.lShowMouseCursor = false;
    rig.build(contents);
    rig.start(rig.config(kScreen));
    rig.run_for(3000);
    const CallLog& log = rig.log();
    EXPECT_TRUE(log.has_subsequence({"window.color 0xFF00000F", "window.show", "window.hide_app",
                                     "cursor.show 0", "window.color 0x00000000",
                                     "window.bounds 0,0,64,48", "screensaver.running 1"}))
        << log.dump();
    EXPECT_EQ(log.contains("window.topmost"), c.topmost) << c.kind;
    if (c.topmost) {
      EXPECT_TRUE(log.has_subsequence(
          {"window.bounds 0,0,64,48", "window.topmost", "screensaver.running 1"}));
    }
    EXPECT_FALSE(rig.form().FirstActivation());
    EXPECT_TRUE(rig.form().ShowStarted());
    EXPECT_TRUE(rig.form().PShow().GetPicture().has_graphic());
    EXPECT_EQ(rig.form().PShow().GetColor(), kBlack);
  }
}

TEST(ShowActivation, ASettingsOffsetPastTheEndEndsTheApplicationWithoutCoveringTheScreen) {
  ShowRig rig;
  SaverContents contents = one_picture();
  contents.music = {{"song.mid", "tune"}};
  contents.settings_offset_override = 1'000'000;
  rig.build(contents);
  rig.start(rig.config(kScreen));
  rig.run_for(10'000);
  EXPECT_TRUE(rig.platform().app().terminated());
  EXPECT_FALSE(rig.log().contains("window.topmost"));
  EXPECT_FALSE(rig.log().contains("window.color 0x00000000"));
  EXPECT_TRUE(entries(rig.log(), "file.create").empty());
  EXPECT_FALSE(rig.media_dir());
  EXPECT_FALSE(rig.form().PShow().GetPicture().has_graphic());
  EXPECT_TRUE(rig.platform().app().errors().empty());
}

TEST(ShowActivation, AnUnreadableTrailerLeavesQuietlyAndTheNextActivationTriesAgain) {
  ShowRig rig;
  rig.write_beside_exe("saver.scr", "short");
  HeadlessConfig config = rig.config(kScreen);
  config.input = {activate_window(5000)};
  rig.start(config);
  rig.run_for(4000);
  EXPECT_TRUE(rig.form().FirstActivation());
  EXPECT_FALSE(rig.platform().app().terminated());
  EXPECT_FALSE(rig.log().contains("window.color 0x00000000"));
  rig.build(one_picture());
  rig.run_for(3000);
  EXPECT_FALSE(rig.form().FirstActivation());
  EXPECT_TRUE(rig.log().contains("window.color 0x00000000"));
}

// A music item that cannot be extracted: the error escapes the activation. Its box gives the
// activation back to the show window when it closes, and later activations come too; none of
// them may run the failing body again. The window stays, and a key still ends it.
TEST(ShowActivation, AnotherActivationErrorIsReportedOnceAndSkipsTheRemainingSteps) {
  for (const bool reactivated_by_the_box : {false, true}) {
    ShowRig rig;
    SaverContents contents = one_picture();
    contents.music = {{"song.mid", "tune"}};
    contents.edit_lists = [](TSSFileLocations& s) { s.SndSizesCommaList.items()[0] = "99999999"; };
    contents.settings.lExitKeyPress = true;
    rig.build(contents);
    HeadlessConfig config = rig.config(kScreen);
    if (reactivated_by_the_box) {
      config.during_message_box = [&rig] {
        static_cast<HeadlessWindow&>(rig.form().window()).deliver_activate();
      };
    }
    config.input = {activate_window(1000), activate_window(2000), key_down(2500, 'A')};
    rig.start(config);
    rig.run_for(2200);
    EXPECT_EQ(rig.platform().app().errors(), std::vector<std::string>{"Stream read error"});
    EXPECT_FALSE(rig.platform().app().terminated());
    EXPECT_FALSE(rig.log().contains("window.topmost"));
    EXPECT_FALSE(rig.log().contains("screensaver.running 1"));
    EXPECT_TRUE(rig.form().FirstActivation());
    EXPECT_FALSE(rig.form().ShowStarted());
    rig.run_for(1000);
    EXPECT_TRUE(rig.log().contains("window.close"));
    EXPECT_EQ(rig.platform().app().errors().size(), 1u);
  }
}

// The mouse-move rule, event by event: the first move only anchors, a move counts when it is
// more than 2 pixels away from the anchor on both axes, and after a cancelled password dialog
// the next five moves are ignored whatever their distance.
TEST(ShowExitRules, MouseMovesAgainstTheAnchor) {
  struct Case {
    const char* name;
    bool exit_on_move;
    std::vector<bool> verify;  // the answers of the password dialog, in order
    std::vector<Point> moves;
    int closes_after;  // the move (from 1) after which the form has closed; 0 for never
  };
  const std::vector<Case> cases = {
      {"first move only anchors", true, {}, {{40, 40}}, 0},
      {"far on one axis is not enough", true, {}, {{10, 10}, {60, 10}}, 0},
      {"then 3 down ends it", true, {}, {{10, 10}, {60, 10}, {60, 13}}, 3},
      {"small steps add up", true, {}, {{10, 10}, {12, 12}, {13, 13}}, 3},
      {"moves off", false, {}, {{10, 10}, {60, 40}, {0, 0}}, 0},
      {"grace after cancel",
       true,
       {false, true},
       {{10, 10}, {50, 30}, {0, 0}, {63, 47}, {0, 47}, {63, 0}, {5, 5}, {51, 31}, {54, 34}},
       9},
  };
  for (const Case& c : cases) {
    ShowRig rig;
    SaverContents contents = one_picture();
    contents.settings.lExitMouseMove = c.exit_on_move;
    rig.build(contents);
    HeadlessConfig config = rig.config(kScreen);
    config.password_value = 1;
    config.verify_answers = {c.verify.begin(), c.verify.end()};
    rig.start(config);
    rig.run_for(1500);
    int closed_at = 0;
    for (size_t i = 0; i < c.moves.size() && closed_at == 0; ++i) {
      rig.platform().schedule(mouse_move(rig.platform().now_ms() + 10, c.moves[i].x, c.moves[i].y));
      rig.run_for(20);
      if (closed(rig)) closed_at = static_cast<int>(i + 1);
    }
    EXPECT_EQ(closed_at, c.closes_after) << c.name << "\n" << rig.log().dump();
  }
}

TEST(ShowExitRules, KeysAndButtonsFollowTheirSettings) {
  struct Case {
    bool key_exits;
    bool click_exits;
    InputEvent input;
    bool closes;
  };
  const std::vector<Case> cases = {
      {true, false, key_down(2000, 65), true},
      {false, true, key_down(2000, 65), false},
      {false, true, mouse_down(2000, MouseButton::kRight), true},
      {true, false, mouse_down(2000), false},
  };
  for (const Case& c : cases) {
    ShowRig rig;
    SaverContents contents = one_picture();
    contents.settings.lExitKeyPress = c.key_exits;
    contents.settings.lExitMouseClick = c.click_exits;
    rig.build(contents);
    HeadlessConfig config = rig.config(kScreen);
    config.input = {c.input};
    rig.start(config);
    rig.run_for(4000);
    EXPECT_EQ(closed(rig), c.closes) << c.key_exits << c.click_exits;
  }
}

TEST(ShowExitRules, PasswordCheckCountsEveryFailureAsVerified) {
  struct Case {
    const char* name;
    PasswordSwitch password_switch;
    int32_t value;
    bool loads;
    bool entry_point;
    bool answer;
    bool closes;
    std::vector<std::string> calls;
  };
  const std::vector<Case> cases = {
      {"no key",
       PasswordSwitch::kKeyMissing,
       0,
       true,
       true,
       false,
       true,
       {"password.switch -> no key", "window.close"}},
      {"no value",
       PasswordSwitch::kValueMissing,
       0,
       true,
       true,
       false,
       true,
       {"password.switch -> no value", "cursor.show 1", "cursor.show 0", "window.close"}},
      {"switched off",
       PasswordSwitch::kValue,
       0,
       true,
       true,
       false,
       true,
       {"password.switch -> 0", "cursor.show 1", "cursor.show 0", "window.close"}},
      {"right password",
       PasswordSwitch::kValue,
       1,
       true,
       true,
       true,
       true,
       {"cursor.show 1", "password.verify -> ok", "cursor.show 0", "window.close"}},
      {"cancelled",
       PasswordSwitch::kValue,
       1,
       true,
       true,
       false,
       false,
       {"cursor.show 1", "password.verify -> cancel", "cursor.show 0"}},
      {"no component",
       PasswordSwitch::kValue,
       1,
       false,
       true,
       false,
       true,
       {"password.verify -> no component", "cursor.show 0", "window.close"}},
      {"no entry point",
       PasswordSwitch::kValue,
       1,
       true,
       false,
       false,
       true,
       {"password.verify -> no entry point", "cursor.show 0", "window.close"}},
  };
  for (const Case& c : cases) {
    ShowRig rig;
    SaverContents contents = one_picture();
    contents.settings.lExitKeyPress = true;
    rig.build(contents);
    HeadlessConfig config = rig.config(kScreen);
    config.password_switch = c.password_switch;
    config.password_value = c.value;
    config.password_component_loads = c.loads;
    config.password_entry_point = c.entry_point;
    config.verify_default = c.answer;
    config.input = {key_down(2000, 27)};
    rig.start(config);
    rig.run_for(4000);
    EXPECT_EQ(closed(rig), c.closes) << c.name;
    EXPECT_TRUE(rig.log().has_subsequence(c.calls)) << c.name << "\n" << rig.log().dump();
    EXPECT_EQ(show_process_state().MouseMoveGrace, 5) << c.name;
    EXPECT_TRUE(rig.platform().app().errors().empty()) << c.name;
  }
}

TEST(ShowExitRules, OutsideShowModeTheFormClosesWithoutAPasswordCheck) {
  ShowRig rig;
  SaverContents contents = one_picture();
  contents.settings.lExitKeyPress = true;
  rig.build(contents);
  HeadlessConfig config = rig.config(kScreen);
  config.password_value = 1;
  config.verify_default = false;
  config.input = {key_down(2000, 27)};
  set_saver_mode(smConfigure);
  rig.start(config);
  rig.run_for(4000);
  EXPECT_TRUE(closed(rig));
  EXPECT_TRUE(entries(rig.log(), "password.").empty());
}

TEST(ShowExitRules, ClosingUndoesWhatActivationSetUp) {
  ShowRig rig;
  SaverContents contents = one_picture();
  contents.settings.lExitKeyPress = true;
  rig.build(contents);
  HeadlessConfig config = rig.config(kScreen);
  config.input = {key_down(1500, 27)};
  rig.start(config);
  rig.run_for(4000);
  EXPECT_TRUE(rig.log().has_subsequence(
      {"window.close", "screensaver.running 0", "capture.release", "cursor.show 1"}));
  EXPECT_FALSE(rig.platform().app().has_idle_handler());
  EXPECT_FALSE(rig.form().PShow().Busy());
  EXPECT_TRUE(rig.platform().app().terminated());
}

TEST(ShowMessages, StartShowRunsOneStepOnlyAndStopShowAfterACancelLeavesTheTimerOff) {
  struct Case {
    uint32_t message;
    int32_t interval;
    size_t slides;
  };
  // Interval 0 keeps the timer from adding slides of its own.
  for (const Case& c : {Case{WM_STARTSHOW, 0, 1}, Case{WM_STOPSHOW, 3000, 1}}) {
    ShowRig rig;
    SaverContents contents = one_picture();
    contents.settings.Interval = c.interval;
    rig.build(contents);
    HeadlessConfig config = rig.config(kScreen);
    config.password_value = 1;
    config.verify_default = false;
    config.input = {user_message(1500, c.message), user_message(2500, c.message)};
    rig.start(config);
    size_t slides = 0;
    rig.form().PShow().OnComplete = [&](TCustomTransitionView&) { ++slides; };
    rig.run_for(20'000);
    EXPECT_EQ(slides, c.slides) << c.message;
    EXPECT_FALSE(closed(rig));
    EXPECT_EQ(rig.form().SlideTimer().enabled(), c.message == WM_STARTSHOW);
  }
}

TEST(ShowMedia, CopiedIntoAFolderOfTheShowsOwnAndRemovedAtDestructionForEveryKind) {
  for (const std::string kind : {"photo", "Photo", "flash", "powerpoint"}) {
    ShowRig rig;
    SaverContents contents = one_picture(kind);
    contents.music = {{"a.mid", "aaa"}, {"b.mid", "bb"}};
    contents.movies = {{"m.swf", "movie"}};
    rig.build(contents);
    const std::string users_own = "the user's own tune, not the package's";
    rig.write_temp("a.mid", users_own);
    rig.start(rig.config(kScreen));
    rig.run_for(3000);
    EXPECT_EQ(entries(rig.log(), "file.create").size(), 3u) << kind;
    const std::optional<std::string> media = rig.media_dir();
    ASSERT_TRUE(media) << kind;
    for (const char* name : {"a.mid", "b.mid", "m.swf"})
      EXPECT_TRUE(std::filesystem::exists(*media + name)) << kind << " " << name;
    rig.destroy_form();
    EXPECT_FALSE(rig.media_dir()) << kind;
    EXPECT_EQ(rig.read_temp("a.mid"), users_own) << kind;
    const std::string list = "file.delete " + rig.temp_dir() + "velaPPTPlay.lst -> failed";
    EXPECT_EQ(rig.log().contains(list), kind == "powerpoint") << kind;
    // Music plays in the photo kind only, spelt exactly so.
    EXPECT_EQ(entries(rig.log(), "media.").empty(), kind != "photo") << kind;
  }
}

}  // namespace
}  // namespace ss::show_test
