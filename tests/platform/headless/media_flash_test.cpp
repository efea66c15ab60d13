// The music player's notifications and the movie control's frames on the virtual clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "base/error.h"
#include "platform/headless/headless_media_player.h"
#include "platform/headless/headless_platform.h"

namespace ss {
namespace {

using Strings = std::vector<std::string>;

struct TempFolder {
  std::filesystem::path root = std::filesystem::temp_directory_path() /
                               ("ss-headless-" + std::to_string(std::random_device{}()));
  TempFolder() { std::filesystem::create_directories(root); }
  ~TempFolder() { std::filesystem::remove_all(root); }
  std::string file(const std::string& name) const {
    std::ofstream(root / name) << "tune";
    return (root / name).string();
  }
};

struct MusicRig {
  static HeadlessConfig tracks() {
    HeadlessConfig config;
    config.media_tracks["a.wav"] = {.duration_ms = 1000};
    config.media_tracks["b.wav"] = {.duration_ms = 2500};
    config.media_tracks["broken.wav"] = {.plays = false};
    config.media_tracks["alien.xyz"] = {.opens = false};
    return config;
  }
  TempFolder folder;
  HeadlessPlatform platform{tracks()};
  std::unique_ptr<MediaPlayer> player = platform.create_media_player();
  std::vector<std::string> playlist{folder.file("a.wav"), folder.file("b.wav")};
  size_t next = 0;

  // What the show does: on every notification stop, then open and play the next track.
  void play_next() {
    player->open(playlist[next++ % playlist.size()]);
    player->play();
  }
  void chain() {
    player->set_notify_handler([this] {
      player->stop();
      play_next();
    });
  }
};

TEST(HeadlessMediaPlayer, EachTrackEndsWithANotificationAfterItsDuration) {
  MusicRig rig;
  rig.chain();
  rig.play_next();
  rig.platform.run_for(5000);
  const CallLog& log = rig.platform.log();
  EXPECT_EQ(log.time_of("media.notify", 0), 1000u);
  EXPECT_EQ(log.time_of("media.notify", 1), 3500u);
  EXPECT_EQ(log.time_of("media.notify", 2), 4500u);
  EXPECT_TRUE(log.has_subsequence({"media.open " + rig.playlist[0], "media.play", "media.notify",
                                   "media.stop", "media.close", "media.open " + rig.playlist[1],
                                   "media.play"}));
}

TEST(HeadlessMediaPlayer, StopAndCloseCancelTheNotification) {
  MusicRig rig;
  int notifications = 0;
  rig.player->set_notify_handler([&] { ++notifications; });
  rig.play_next();
  rig.platform.run_for(400);
  rig.player->stop();
  rig.platform.run_for(5000);
  EXPECT_EQ(notifications, 0);
  EXPECT_EQ(static_cast<HeadlessMediaPlayer&>(*rig.player).position_ms(), 400u);

  rig.player->play();  // from where it stopped: 600 ms left
  rig.platform.run_for(5000);
  EXPECT_EQ(notifications, 1);
  EXPECT_EQ(rig.platform.log().time_of("media.notify"), 6000u);

  rig.player->open(rig.playlist[0]);
  rig.player->play();
  rig.player->close();
  rig.platform.run_for(5000);
  EXPECT_EQ(notifications, 1);
}

TEST(HeadlessMediaPlayer, ASecondPlaySupersedesThePendingNotification) {
  MusicRig rig;
  std::vector<uint64_t> at;
  rig.player->set_notify_handler([&] { at.push_back(rig.platform.now_ms()); });
  rig.play_next();
  rig.platform.run_for(300);
  rig.player->play();
  rig.platform.run_for(5000);
  EXPECT_EQ(at, (std::vector<uint64_t>{300, 1000}));
}

TEST(HeadlessMediaPlayer, FailuresThrowAndAreLogged) {
  MusicRig rig;
  struct Case {
    std::string path;
    bool open_fails;
  };
  const std::vector<Case> cases = {
      {rig.folder.root.string() + "/missing.wav", true},
      {rig.folder.file("alien.xyz"), true},
      {rig.folder.file("broken.wav"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    if (c.open_fails) {
      EXPECT_THROW(rig.player->open(c.path), SaverError);
      EXPECT_EQ(rig.platform.log().texts().back(), "media.open " + c.path + " -> failed");
      EXPECT_THROW(rig.player->play(), SaverError);
    } else {
      rig.player->open(c.path);
      EXPECT_THROW(rig.player->play(), SaverError);
    }
    EXPECT_EQ(rig.platform.log().texts().back(), "media.play -> failed");
  }
  rig.platform.run_for(10'000);
  EXPECT_FALSE(rig.platform.log().contains("media.notify"));
}

TEST(HeadlessMediaPlayer, ClosesItsDeviceWhenDestroyed) {
  MusicRig rig;
  rig.play_next();
  rig.player.reset();
  rig.platform.run_for(5000);
  EXPECT_EQ(rig.platform.log().with_prefix("media."),
            (Strings{"media.open " + rig.playlist[0], "media.play", "media.close"}));
}

TEST(HeadlessFlash, CurrentFrameAdvancesWhilePlayingAndStopsAtTheTotal) {
  HeadlessConfig config;
  config.flash_frames_per_second = 10;
  config.flash_movies["short.swf"] = {.total_frames = 25};
  config.flash_movies["bad.swf"] = {.play_fails = true};
  HeadlessPlatform platform(config);
  std::unique_ptr<ShowWindow> window = platform.create_window();
  std::unique_ptr<FlashControl> movie = platform.flash().create(*window);
  EXPECT_EQ(movie->total_frames(), 0) << "no movie loaded";

  movie->set_movie("/tmp/x/short.swf");
  movie->play();
  platform.run_for(1500);
  EXPECT_EQ(movie->current_frame(), 15);
  movie->stop();
  platform.run_for(5000);
  EXPECT_EQ(movie->current_frame(), 15);
  movie->play();
  platform.run_for(5000);
  EXPECT_EQ(movie->current_frame(), 25);
  EXPECT_EQ(movie->total_frames(), 25);

  movie->set_movie("/tmp/x/other.swf");
  EXPECT_EQ(movie->current_frame(), 0);
  EXPECT_EQ(movie->total_frames(), 100) << "the default movie";
  movie->set_movie("/tmp/x/bad.swf");
  EXPECT_THROW(movie->play(), SaverError);
  EXPECT_TRUE(platform.log().has_subsequence(
      {"flash.create", "flash.movie /tmp/x/short.swf", "flash.play", "flash.stop", "flash.play",
       "flash.movie /tmp/x/other.swf", "flash.movie /tmp/x/bad.swf", "flash.play -> failed"}));
}

TEST(HeadlessFlash, AMissingControlCannotBeCreated) {
  HeadlessConfig config;
  config.flash_installed = false;
  HeadlessPlatform platform(config);
  std::unique_ptr<ShowWindow> window = platform.create_window();
  EXPECT_THROW(platform.flash().create(*window), SaverError);
  EXPECT_EQ(platform.log().texts().back(), "flash.create -> failed");
  EXPECT_EQ(platform.flash_control(), nullptr);
}

}  // namespace
}  // namespace ss
