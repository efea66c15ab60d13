// The background music of the "photo" kind: one track after the other, in order, at random, or
// one random track again and again, each started when the player reports the end of the last.
#include <exception>

#include "base/random.h"
#include "show/media_extraction.h"
#include "show/show_form.h"

namespace ss {
namespace {

// SoundRandom: 2 draws every track, 3 repeats the track drawn at activation, anything else
// plays the tracks in order.
constexpr int32_t kSoundRandomEach = 2;
constexpr int32_t kSoundRandomOne = 3;

}  // namespace

void TfrmScrn::PlayNextTrack() {
  const int32_t tracks = FSettings.SndCommaList.count();
  if (tracks == 0 || FSettings.lMute) return;
  if (FSoundIndex > tracks - 1) FSoundIndex = 0;
  if (FSettings.SoundRandom == kSoundRandomEach) FSoundIndex = Random(tracks);
  const std::string path =
      media_path(FSettings, MediaKind::Music, FSoundIndex, FMediaFolder, platform_.files());
  try {
    // A track that cannot be played stays silent; with no end notice to come, so does the rest.
    media_open_ = false;
    mpSaver->open(path);
    media_open_ = true;
    mpSaver->play();
  } catch (const std::exception&) {
  }
  if (FSettings.SoundRandom != kSoundRandomOne) ++FSoundIndex;
}

void TfrmScrn::mpSaverNotify() {
  // Whatever the notice says (ended, failed, superseded), the next track follows, so a track
  // that cannot sound is skipped. But when every track has failed in a row, the device sounds
  // none: the music ends there, or the failed notices would follow each other at once for ever
  // and the loop would never be idle for the slides to start.
  const bool failed = mpSaver->notice_failed();
  mpSaver->stop();
  if (!failed) {
    FFailedTracksInARow = 0;
  } else if (++FFailedTracksInARow >= FSettings.SndCommaList.count()) {
    return;
  }
  PlayNextTrack();
}

}  // namespace ss
