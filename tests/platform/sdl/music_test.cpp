// The music of a show on the SDL backend, run in this process on a private X server: a muted
// show never touches the mixer, and the end of a track reaches the show on the GUI thread.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>

#include "base/error.h"
#include "base/random.h"
#include "display_rig.h"
#include "driver_allocations.h"
#include "platform/sdl/sdl_media_player.h"
#include "platform/sdl/sdl_platform.h"
#include "show/input_hook.h"
#include "show/saver_mode.h"
#include "show/show_form.h"

namespace sdl_test {
namespace {

std::unique_ptr<ss::SdlPlatform> make_platform(const ss::SdlConfig& config) {
  const DriverAllocations unchecked;
  return std::make_unique<ss::SdlPlatform>(config);
}

class SdlMusicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!x_.running()) GTEST_SKIP() << "Xvfb is not installed";
    // A device that plays in real time without sound hardware.
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    ss::set_random_seed(0);
    ss::set_saver_mode(ss::smShow);
    ss::show_process_state() = ss::ShowProcessState{};
  }

  ss::SdlConfig config(const std::string& saver) const {
    ss::SdlConfig c;
    c.surface = ss::HostSurface::kWindow;
    c.window_size = {160, 120};
    c.executable_path = saver;
    c.temp_directory = scratch_.path("tmp");
    return c;
  }

  // A photo saver with a short track and a long one; CONTROL.INI beside it says `mute`.
  std::string saver_with_music(const char* mute) const {
    ss::TSSFileLocations s;
    s.Ver = "photo";
    s.Interval = 60'000;
    s.EffectCommaList.set_comma_text("1");
    s.lShowMouseCursor = true;
    const std::string saver =
        scratch_.build_saver({solid(40, 30, ss::kWhite)}, s, {silent_wav(200), silent_wav(20'000)});
    scratch_.write("CONTROL.INI", std::string("[Setup]\nmute=") + mute + "\n");
    return saver;
  }

  // Runs the show for run_ms of real time.
  static void run_show(ss::SdlPlatform& platform, ss::TfrmScrn&, uint32_t run_ms) {
    std::unique_ptr<ss::Timer> end = platform.application().create_timer();
    end->set_interval(run_ms);
    end->set_handler([&platform] { platform.application().terminate(); });
    platform.application().run();
  }

  Xvfb x_{320, 240};
  Scratch scratch_;
};

TEST_F(SdlMusicTest, MuteInControlIniMeansNoMixerCallAtAll) {
  const std::string saver = saver_with_music("1");
  const int before = ss::SdlMediaPlayer::mixer_calls();
  {
    const std::unique_ptr<ss::SdlPlatform> platform = make_platform(config(saver));
    const DriverAllocations unchecked;
    ss::TfrmScrn form(*platform);
    run_show(*platform, form, 800);
    EXPECT_TRUE(form.ShowStarted());
  }
  EXPECT_EQ(ss::SdlMediaPlayer::mixer_calls(), before);
}

TEST_F(SdlMusicTest, TheUsersFileOfATracksNameInTheTemporaryDirectoryStaysAsItWas) {
  const std::string saver = saver_with_music("1");
  const std::string own = "the user's own track0.wav";
  scratch_.write("tmp/track0.wav", own);
  {
    const std::unique_ptr<ss::SdlPlatform> platform = make_platform(config(saver));
    const DriverAllocations unchecked;
    ss::TfrmScrn form(*platform);
    run_show(*platform, form, 500);
    ASSERT_TRUE(form.ShowStarted());
  }
  EXPECT_EQ(scratch_.read("tmp/track0.wav"), own);
  // The show's own folder went with the show.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_.path("tmp")), {}), 1);
}

TEST_F(SdlMusicTest, TheEndOfATrackStartsTheNextOnTheGuiThread) {
  const std::string saver = saver_with_music("0");
  const int before = ss::SdlMediaPlayer::mixer_calls();
  const std::unique_ptr<ss::SdlPlatform> platform = make_platform(config(saver));
  const DriverAllocations unchecked;
  ss::TfrmScrn form(*platform);
  run_show(*platform, form, 1500);
  EXPECT_GT(ss::SdlMediaPlayer::mixer_calls(), before);
  // Track 0 (0.2 s) ended and its notification started track 1 (20 s), which still plays:
  // the index has moved past both.
  EXPECT_EQ(form.SoundIndex(), 2);
}

TEST_F(SdlMusicTest, PlayerReportsOnTheGuiThreadAndStopCancelsTheReport) {
  scratch_.write("short.wav", silent_wav(100));
  const std::unique_ptr<ss::SdlPlatform> owned = make_platform(config(scratch_.path("none")));
  ss::SdlPlatform& platform = *owned;
  ss::MessageLoop& loop = platform.application().loop();
  std::unique_ptr<ss::MediaPlayer> player = platform.create_media_player();
  int notified = 0;
  bool on_gui_thread = false;
  player->set_notify_handler([&] {
    ++notified;
    on_gui_thread = loop.is_gui_thread();
  });
  EXPECT_THROW(player->open(scratch_.path("missing.wav")), ss::SaverError);
  EXPECT_THROW(player->play(), ss::SaverError);

  const auto pump_for = [&](uint32_t ms) {
    const uint32_t start = platform.application().clock().tick_count();
    while (platform.application().clock().tick_count() - start < ms) {
      loop.process_messages();
      loop.wait_message(20);
    }
  };
  player->open(scratch_.path("short.wav"));
  player->play();
  player->stop();
  pump_for(400);
  EXPECT_EQ(notified, 0);

  player->open(scratch_.path("short.wav"));
  player->play();
  pump_for(1000);
  EXPECT_EQ(notified, 1);
  EXPECT_TRUE(on_gui_thread);
}

}  // namespace
}  // namespace sdl_test
