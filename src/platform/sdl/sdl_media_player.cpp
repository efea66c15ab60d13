#include "platform/sdl/sdl_media_player.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <atomic>
#include <mutex>

#include "base/error.h"
#include "platform/sdl/sdl_application.h"

namespace ss {
namespace {

constexpr int kSampleRate = 44100;
constexpr int kChannels = 2;
constexpr int kChunkSamples = 2048;

std::atomic<int> g_mixer_calls{0};

// The audio device, opened at most once per process by the first player that needs it.
bool g_audio_tried = false;
bool g_audio_open = false;
std::string g_audio_error;

// The token of the play whose end is to be reported (0 for none), and the loop that reports it.
std::atomic<uint64_t> g_pending_token{0};
std::mutex g_post_mutex;
SdlApplication* g_post_app = nullptr;
// GUI thread only: the player playing now, and the last token handed out.
SdlMediaPlayer* g_current = nullptr;
uint64_t g_last_token = 0;

// Every call into SDL_mixer or SDL's audio goes through here, so that it is counted.
template <typename F>
auto mixer(F&& call) {
  ++g_mixer_calls;
  return call();
}

}  // namespace

SdlMediaPlayer::SdlMediaPlayer(SdlApplication& app) : app_(app) {}

SdlMediaPlayer::~SdlMediaPlayer() {
  alive_.reset();
  close();
  if (g_current == this) g_current = nullptr;
}

int SdlMediaPlayer::mixer_calls() {
  return g_mixer_calls;
}

void SdlMediaPlayer::ensure_audio() {
  if (g_audio_open) return;
  if (!g_audio_tried) {
    g_audio_tried = true;
    if (mixer([] { return SDL_InitSubSystem(SDL_INIT_AUDIO); }) != 0) {
      g_audio_error = SDL_GetError();
    } else if (mixer([] {
                 return Mix_OpenAudio(kSampleRate, MIX_DEFAULT_FORMAT, kChannels, kChunkSamples);
               }) != 0) {
      g_audio_error = Mix_GetError();
      mixer([] { SDL_QuitSubSystem(SDL_INIT_AUDIO); });
    } else {
      g_audio_open = true;
      mixer([] { Mix_HookMusicFinished(&SdlMediaPlayer::on_music_finished); });
    }
  }
  // No device now means none for the rest of the show: trying again would only cost time.
  if (!g_audio_open) throw SaverError("No audio device: " + g_audio_error);
}

void SdlMediaPlayer::shut_down_audio() {
  {
    std::lock_guard<std::mutex> lock(g_post_mutex);
    g_post_app = nullptr;
  }
  g_pending_token = 0;
  if (!g_audio_open) return;
  mixer([] {
    Mix_HookMusicFinished(nullptr);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  });
  g_audio_open = false;
  g_audio_tried = false;
}

void SdlMediaPlayer::on_music_finished() {
  const uint64_t token = g_pending_token.exchange(0);
  if (token == 0) return;
  std::lock_guard<std::mutex> lock(g_post_mutex);
  if (g_post_app != nullptr) {
    g_post_app->sdl_loop().post([token] { deliver(token); });
  }
}

void SdlMediaPlayer::deliver(uint64_t token) {
  SdlMediaPlayer* player = g_current;
  if (player == nullptr || player->token_ != token) return;  // stopped or closed meanwhile
  player->token_ = 0;
  // The handler may destroy the player.
  const std::function<void()> handler = player->notify_;
  if (handler) player->app_.guarded(handler)();
}

void SdlMediaPlayer::halt() {
  token_ = 0;
  if (g_current != this) return;
  g_pending_token = 0;
  // After the halt no end of this track can still be on its way: the hook runs under the
  // mixer's lock, which the halt takes.
  if (g_audio_open) mixer([] { return Mix_HaltMusic(); });
}

void SdlMediaPlayer::open(const std::string& path) {
  close();
  ensure_audio();
  music_ = mixer([&] { return Mix_LoadMUS(path.c_str()); });
  if (music_ == nullptr) throw SaverError(Mix_GetError());
}

void SdlMediaPlayer::play() {
  if (music_ == nullptr) throw SaverError("The specified device is not open.");
  const bool superseded = token_ != 0;
  if (g_current != nullptr) g_current->halt();
  if (superseded) {
    // The play that was still going is reported as ended, as a message like any other.
    std::weak_ptr<bool> alive = alive_;
    app_.post_guarded([this, alive] {
      if (alive.expired()) return;
      const std::function<void()> handler = notify_;
      if (handler) handler();
    });
  }
  {
    std::lock_guard<std::mutex> lock(g_post_mutex);
    g_post_app = &app_;
  }
  g_current = this;
  token_ = ++g_last_token;
  g_pending_token = token_;
  if (mixer([&] { return Mix_PlayMusic(music_, 1); }) != 0) {
    token_ = 0;
    g_pending_token = 0;
    throw SaverError(Mix_GetError());
  }
}

void SdlMediaPlayer::stop() {
  halt();
}

void SdlMediaPlayer::close() {
  halt();
  if (music_ == nullptr) return;
  mixer([&] { Mix_FreeMusic(music_); });
  music_ = nullptr;
}

}  // namespace ss
