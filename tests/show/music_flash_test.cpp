// The background music of the "photo" kind and the movie show of the "flash" kind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/random.h"
#include "show/flash_show.h"
#include "show_rig.h"

namespace ss::show_test {
namespace {

constexpr Point kScreen{64, 48};

std::vector<MediaItem> three_tracks() {
  return {{"a.mid", "a"}, {"b.mid", "b"}, {"c.mid", "c"}};
}

// The tracks opened, as indices into a, b, c.
std::vector<int> opened_tracks(ShowRig& rig) {
  std::vector<int> out;
  for (const std::string& e : entries(rig.log(), "media.open ")) {
    const std::string name = e.substr(std::string("media.open ").size() + rig.media_dir()->size());
    out.push_back(name[0] - 'a');
  }
  return out;
}

TEST(BackgroundMusic, TheThreeOrdersEachTrackStartingWhenTheLastEnds) {
  set_random_seed(0);
  std::vector<int> drawn;
  for (int i = 0; i < 5; ++i) drawn.push_back(Random(3));
  struct Case {
    int32_t sound_random;
    std::vector<int> tracks;
  };
  for (const Case& c : {Case{1, {0, 1, 2, 0, 1}}, Case{0, {0, 1, 2, 0, 1}},
                        Case{3, {0, 0, 0, 0, 0}}, Case{2, drawn}}) {
    ShowRig rig;
    SaverContents contents{.music = three_tracks(), .settings = quiet_settings()};
    contents.settings.SoundRandom = c.sound_random;
    rig.build(contents);
    HeadlessConfig config = rig.config(kScreen);
    config.media_default.duration_ms = 1000;
    rig.start(config);
    rig.run_for(4500);
    EXPECT_EQ(opened_tracks(rig), c.tracks) << c.sound_random;
    const std::vector<std::string> opens = entries(rig.log(), "media.open ");
    for (size_t i = 1; i < opens.size(); ++i)
      EXPECT_EQ(
          *rig.log().time_of(opens[i], std::count(opens.begin(), opens.begin() + i, opens[i])),
          1000 * i);
    ASSERT_GE(opens.size(), 2u);
    EXPECT_TRUE(rig.log().has_subsequence(
        {opens[0], "media.play", "media.notify", "media.stop", opens[1]}));
  }
}

TEST(BackgroundMusic, TheSettingsFileOverridesThePackagesMuteBothWays) {
  struct Case {
    bool package_mute;
    const char* ini;  // nullptr: no settings file
    bool plays;
  };
  for (const Case& c :
       {Case{false, nullptr, true}, Case{true, nullptr, false},
        Case{false, "[Setup]\r\nmute=1\r\n", false}, Case{true, "[setup]\r\nMUTE=0\r\n", true},
        Case{true, "[Setup]\r\nmute=yes\r\n", false}}) {
    ShowRig rig;
    SaverContents contents{.music = three_tracks(), .settings = quiet_settings()};
    contents.settings.lMute = c.package_mute;
    rig.build(contents);
    if (c.ini != nullptr) rig.write_beside_exe("CONTROL.INI", c.ini);
    rig.start(rig.config(kScreen));
    rig.run_for(1000);
    EXPECT_EQ(!entries(rig.log(), "media.").empty(), c.plays)
        << c.package_mute << " " << (c.ini ? c.ini : "none");
  }
}

TEST(BackgroundMusic, TheUsersCopyOfTheSettingsFileIsReadBeforeTheOneBesideTheSaver) {
  for (const bool copy_exists : {false, true}) {
    ShowRig rig;
    rig.build({.music = three_tracks(), .settings = quiet_settings()});
    rig.write_beside_exe("CONTROL.INI", "[Setup]\r\nmute=0\r\n");
    const std::filesystem::path user = std::filesystem::path(rig.exe_dir()) / "user";
    std::filesystem::create_directories(user / "slidesaver" / "saver.scr");
    if (copy_exists)
      std::ofstream(user / "slidesaver" / "saver.scr" / "CONTROL.INI") << "[Setup]\nmute=1\n";
    HeadlessConfig config = rig.config(kScreen);
    config.user_settings_folder = user.string();
    rig.start(config);
    rig.run_for(1000);
    EXPECT_EQ(entries(rig.log(), "media.").empty(), copy_exists) << copy_exists;
  }
}

TEST(BackgroundMusic, FailedPlayNoticesSkipATrackButEndTheMusicWhenEveryTrackFails) {
  struct Case {
    std::vector<std::string> failing;
    std::vector<int> tracks;  // opened in the first 4.5 s; a track that plays lasts 1 s
  };
  for (const Case& c :
       {Case{{"b.mid"}, {0, 1, 2, 0, 1, 2, 0}}, Case{{"a.mid", "b.mid", "c.mid"}, {0, 1, 2}}}) {
    ShowRig rig;
    rig.build({.pictures = {bmp_picture(solid(8, 8, kWhite))},
               .music = three_tracks(),
               .settings = quiet_settings()});
    HeadlessConfig config = rig.config(kScreen);
    config.media_default.duration_ms = 1000;
    for (const std::string& name : c.failing)
      config.media_tracks[name] = {.play_notice_fails = true, .duration_ms = 1000};
    rig.start(config);
    rig.run_for(4500);
    EXPECT_EQ(opened_tracks(rig), c.tracks) << c.failing.size();
    // The loop goes idle, so the slides start.
    EXPECT_TRUE(rig.form().ShowStarted());
    EXPECT_TRUE(rig.platform().app().errors().empty());
  }
}

TEST(BackgroundMusic, ATrackThatCannotBePlayedLeavesTheShowSilentWithoutAnError) {
  for (const bool opens : {false, true}) {
    ShowRig rig;
    rig.build({.music = three_tracks(), .settings = quiet_settings()});
    HeadlessConfig config = rig.config(kScreen);
    config.media_tracks["a.mid"] = {.opens = opens, .plays = false};
    rig.start(config);
    rig.run_for(20'000);
    EXPECT_EQ(entries(rig.log(), "media.open").size(), 1u);
    EXPECT_TRUE(rig.platform().app().errors().empty());
    EXPECT_EQ(rig.form().SoundIndex(), 1);
  }
}

HeadlessConfig flash_config(ShowRig& rig) {
  HeadlessConfig config = rig.config(kScreen);
  config.flash_default.total_frames = 24;  // two seconds at 12 frames a second
  return config;
}

TEST(FlashShow, MoviesRunInTurnForEverWhenThereAreNoPictures) {
  ShowRig rig;
  rig.build({.movies = {{"m0.swf", "0"}, {"m1.swf", "1"}}, .settings = quiet_settings("flash")});
  rig.start(flash_config(rig));
  rig.run_for(5500);
  const std::string dir = *rig.media_dir();
  EXPECT_EQ(
      entries(rig.log(), "flash.movie"),
      (std::vector<std::string>{"flash.movie " + dir + "m0.swf", "flash.movie " + dir + "m1.swf",
                                "flash.movie " + dir + "m0.swf"}));
  EXPECT_EQ(*rig.log().time_of("flash.movie " + dir + "m0.swf"), 0u);  // during activation
  EXPECT_FALSE(rig.form().PShow().Visible());
}

TEST(FlashShow, AMovieEndsAtItsFrameCountOrStoppedOnItsLastFrameButNeverBeforeItLoads) {
  struct Case {
    int32_t total;
    int32_t current;
    bool playing;
    bool ended;
  };
  for (const Case& c :
       {Case{24, 24, true, true}, Case{24, 30, true, true}, Case{24, 23, false, true},
        Case{24, 23, true, false}, Case{24, 22, false, false}, Case{24, 0, false, false},
        Case{1, 0, false, true}, Case{0, 0, false, false}, Case{0, 5, true, false},
        Case{-1, 0, false, false}}) {
    EXPECT_EQ(MovieHasEnded(c.total, c.current, c.playing), c.ended)
        << c.total << " " << c.current << " " << c.playing;
  }
}

// Controls number frames from 0: a movie that stops at its end rests on frame total - 1 and
// reports that it no longer plays. The show still moves on, movie by movie.
TEST(FlashShow, MoviesThatStopOnTheirLastFrameRunInTurn) {
  for (const bool from_zero : {true, false}) {
    ShowRig rig;
    rig.build({.movies = {{"m0.swf", "0"}, {"m1.swf", "1"}}, .settings = quiet_settings("flash")});
    HeadlessConfig config = flash_config(rig);
    config.flash_default.numbered_from_zero = from_zero;
    rig.start(config);
    rig.run_for(7500);
    const std::string dir = *rig.media_dir();
    const std::vector<std::string> movies = entries(rig.log(), "flash.movie");
    ASSERT_GE(movies.size(), 3u) << from_zero;
    EXPECT_EQ(movies[0], "flash.movie " + dir + "m0.swf");
    EXPECT_EQ(movies[1], "flash.movie " + dir + "m1.swf");
    EXPECT_EQ(movies[2], "flash.movie " + dir + "m0.swf");
  }
}

TEST(FlashShow, AMovieThatNeverLoadsKeepsTheShowOnIt) {
  ShowRig rig;
  rig.build({.movies = {{"m0.swf", "0"}, {"m1.swf", "1"}}, .settings = quiet_settings("flash")});
  HeadlessConfig config = flash_config(rig);
  config.flash_default.total_frames = 0;
  rig.start(config);
  rig.run_for(6000);
  EXPECT_EQ(entries(rig.log(), "flash.movie").size(), 1u);
  EXPECT_TRUE(rig.form().TimerFlash().enabled());
}

TEST(FlashShow, WithoutMoviesTheEmptyControlStaysAndItsTimerNeverRuns) {
  ShowRig rig;
  rig.build({.settings = quiet_settings("flash")});
  rig.start(flash_config(rig));
  rig.run_for(5000);
  ASSERT_NE(rig.form().FlashPlayer(), nullptr);
  EXPECT_TRUE(rig.form().FlashPlayer()->visible());
  EXPECT_FALSE(rig.form().TimerFlash().enabled());
  EXPECT_TRUE(entries(rig.log(), "flash.movie").empty());
}

TEST(FlashShow, QuitInAnyCaseEndsTheShowOnlyWhenAllowed) {
  struct Case {
    const char* command;
    bool allowed;
    bool closes;
  };
  for (const Case& c :
       {Case{"quit", true, true}, Case{"QUIT", true, true}, Case{"qUiT", true, true},
        Case{"quit", false, false}, Case{"quit2", true, false}, Case{"fullscreen", true, false}}) {
    ShowRig rig;
    SaverContents contents{.movies = {{"m0.swf", "0"}}, .settings = quiet_settings("flash")};
    contents.settings.lExitFSCommandQuit = c.allowed;
    rig.build(contents);
    HeadlessConfig config = flash_config(rig);
    config.input = {flash_command(1500, c.command, "true")};
    rig.start(config);
    rig.run_for(3000);
    EXPECT_EQ(rig.log().contains("window.close"), c.closes) << c.command << c.allowed;
    if (c.closes) {
      EXPECT_TRUE(
          rig.log().has_subsequence({"flash.stop_play", "password.switch -> 0", "window.close"}));
    } else {
      EXPECT_FALSE(rig.log().contains("flash.stop_play"));
    }
  }
}

TEST(FlashShow, AMissingControlOffersTheDownloadPageAndClosesTheShow) {
  struct Case {
    const char* language_file;  // nullptr: none
    bool yes;
    std::string question;
  };
  const std::string fallback = "Please install the Macromedia Flash Player ActiveX control.";
  for (const Case& c :
       {Case{nullptr, false, fallback}, Case{nullptr, true, fallback},
        Case{"[Language]\r\nDownloadSWF=Bitte installieren\r\n", true, "Bitte installieren"},
        Case{"[Language]\r\nTitle=Titel\r\n", false, fallback}}) {
    ShowRig rig;
    SaverContents contents{.pictures = {bmp_picture(solid(8, 8, kWhite))},
                           .movies = {{"m0.swf", "0"}},
                           .settings = quiet_settings("flash")};
    rig.build(contents);
    if (c.language_file != nullptr) rig.write_beside_exe("ridiziv.ini", c.language_file);
    HeadlessConfig config = flash_config(rig);
    config.flash_installed = false;
    config.yes_no_answers = {c.yes};
    // The question's box gives the activation back to the show window when it closes.
    config.during_message_box = [&rig] {
      static_cast<HeadlessWindow&>(rig.form().window()).deliver_activate();
    };
    rig.start(config);
    rig.run_for(3000);
    const CallLog& log = rig.log();
    EXPECT_EQ(log.count("flash.create -> failed"), 1u) << log.dump();
    EXPECT_TRUE(log.has_subsequence({"flash.create -> failed",
                                     "message.ask " + c.question + (c.yes ? " -> yes" : " -> no"),
                                     "window.close"}))
        << log.dump();
    EXPECT_EQ(log.contains(std::string("shell.open ") + kFlashDownloadPage), c.yes);
    // The activation goes no further.
    EXPECT_FALSE(log.contains("hook.install"));
    EXPECT_FALSE(log.contains("window.topmost"));
    EXPECT_FALSE(rig.form().PShow().GetPicture().has_graphic());
    EXPECT_TRUE(rig.platform().app().errors().empty());
  }
}

TEST(FlashShow, TheInputHookClosesOnAnyCursorMovementWithoutAPasswordCheck) {
  struct Case {
    bool exit_on_move;
    bool exit_on_key;
    InputEvent input;
    bool closes;
  };
  for (const Case& c : {Case{true, false, mouse_move(1500, 1, 0), true},
                        Case{false, true, mouse_move(1500, 40, 40), false},
                        Case{false, true, key_down(1500, 13), true},
                        Case{true, false, key_down(1500, 13), false}}) {
    ShowRig rig;
    SaverContents contents{.movies = {{"m0.swf", "0"}}, .settings = quiet_settings("flash")};
    contents.settings.lExitMouseMove = c.exit_on_move;
    contents.settings.lExitKeyPress = c.exit_on_key;
    rig.build(contents);
    HeadlessConfig config = flash_config(rig);
    config.password_value = 1;
    config.verify_default = false;
    config.input = {c.input};
    rig.start(config);
    rig.run_for(3000);
    EXPECT_EQ(rig.log().contains("window.close"), c.closes) << c.exit_on_move << c.exit_on_key;
    EXPECT_TRUE(entries(rig.log(), "password.").empty());
    if (c.closes) {
      EXPECT_TRUE(rig.log().has_subsequence({"hook.install", "hook.remove", "window.close"}));
      EXPECT_EQ(rig.log().count("hook.remove"), 1u);
    }
  }
}

}  // namespace
}  // namespace ss::show_test
