#include "platform/headless/headless_media_player.h"

#include <algorithm>

#include "base/error.h"
#include "base/path.h"

namespace ss {

HeadlessMediaPlayer::HeadlessMediaPlayer(HeadlessContext& context) : context_(context) {}

HeadlessMediaPlayer::~HeadlessMediaPlayer() {
  if (open_) close();
}

uint64_t HeadlessMediaPlayer::position_ms() const {
  if (!playing_) return position_at_start_;
  return std::min(duration_ms_, position_at_start_ + (context_.app.now_ms() - started_ms_));
}

void HeadlessMediaPlayer::open(const std::string& path) {
  if (open_) close();
  const auto found = context_.config.media_tracks.find(file_name_of(path));
  const MediaTrackConfig& track =
      found != context_.config.media_tracks.end() ? found->second : context_.config.media_default;
  const bool exists = !context_.config.media_needs_file || context_.files.file_exists(path);
  if (!exists || !track.opens) {
    context_.log.add("media.open " + path + " -> failed");
    throw SaverError(exists ? "The specified file cannot be played on the specified device."
                            : "Cannot find the specified file.");
  }
  context_.log.add("media.open " + path);
  open_ = true;
  playing_ = false;
  plays_ = track.plays;
  play_notice_fails_ = track.play_notice_fails;
  path_ = path;
  duration_ms_ = track.duration_ms;
  position_at_start_ = 0;
}

void HeadlessMediaPlayer::play() {
  if (!open_ || !plays_) {
    context_.log.add("media.play -> failed");
    throw SaverError(open_ ? "The device cannot play this file."
                           : "The specified device is not open.");
  }
  context_.log.add("media.play");
  if (playing_) {
    // The pending notification is superseded and reported at once; playing goes on.
    cancel_notification();
    post_notification(0, false);
  }
  position_at_start_ = position_ms();
  started_ms_ = context_.app.now_ms();
  playing_ = true;
  if (play_notice_fails_) {
    post_notification(0, true, true);
    return;
  }
  post_notification(duration_ms_ - position_at_start_, true);
}

void HeadlessMediaPlayer::post_notification(uint64_t delay_ms, bool track_end, bool failed) {
  const uint64_t number = track_end ? ++notification_ : 0;
  std::weak_ptr<bool> alive = alive_;
  context_.app.post_guarded_after(delay_ms, [this, alive, number, track_end, failed] {
    if (!alive.lock()) return;
    if (track_end) {
      if (number != notification_) return;  // stopped, closed or superseded meanwhile
      position_at_start_ = duration_ms_;
      playing_ = false;
    }
    context_.log.add(failed ? "media.notify failed" : "media.notify");
    const std::function<void()> handler = notify_;  // the handler may destroy the player
    notice_failed_ = failed;
    if (handler) handler();
    if (alive.lock()) notice_failed_ = false;
  });
}

void HeadlessMediaPlayer::stop() {
  context_.log.add("media.stop");
  cancel_notification();
  if (!playing_) return;
  position_at_start_ = position_ms();
  playing_ = false;
}

void HeadlessMediaPlayer::close() {
  cancel_notification();
  if (!open_) return;
  context_.log.add("media.close");
  open_ = false;
  playing_ = false;
}

}  // namespace ss
