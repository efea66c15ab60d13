#pragma once
// The background-music player on SDL_mixer's music channel. The audio device is opened on the
// first open() of the process, never before, so a muted show makes no mixer call at all. With
// no audio device, open() and play() throw, and the show goes on silently.
//
// The end of a track is reported by SDL_mixer on its audio thread; it becomes a message of the
// GUI thread's loop, where the notify handler runs. stop() and close() cancel the notification
// of the track they end. There is one music channel, so one player plays at a time: a player
// that starts playing takes the notifications from any other.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/media_player.h"

typedef struct _Mix_Music Mix_Music;

namespace ss {

class SdlApplication;

class SdlMediaPlayer final : public MediaPlayer {
 public:
  explicit SdlMediaPlayer(SdlApplication& app);
  ~SdlMediaPlayer() override;
  SdlMediaPlayer(const SdlMediaPlayer&) = delete;
  SdlMediaPlayer& operator=(const SdlMediaPlayer&) = delete;

  void open(const std::string& path) override;
  void play() override;
  void stop() override;
  void close() override;
  void set_notify_handler(std::function<void()> on_notify) override { notify_ = on_notify; }

  // Closes the audio device when a player opened it; the platform calls it at the end.
  static void shut_down_audio();
  // How many SDL_mixer and audio-device calls the process has made.
  static int mixer_calls();

 private:
  static void ensure_audio();
  // SDL_mixer's end-of-music hook, on the audio thread (or inside a halt).
  static void on_music_finished();
  // On the GUI thread: the end of the play that token names.
  static void deliver(uint64_t token);
  void halt();

  SdlApplication& app_;
  std::function<void()> notify_;
  Mix_Music* music_ = nullptr;
  uint64_t token_ = 0;  // of the play whose end is still to be reported; 0 for none
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ss
