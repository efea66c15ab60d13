#pragma once
// The music player on the virtual clock. A track opens when the configuration lets it (by file
// name, and only if the file exists when media_needs_file is set); playing it posts the end
// notification when the rest of its configured duration has passed. stop and close cancel a
// pending notification; a new play while one is pending supersedes it, which notifies at once.
// The player closes its device when destroyed.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/headless/headless_context.h"
#include "platform/media_player.h"

namespace ss {

class HeadlessMediaPlayer final : public MediaPlayer {
 public:
  explicit HeadlessMediaPlayer(HeadlessContext& context);
  ~HeadlessMediaPlayer() override;
  HeadlessMediaPlayer(const HeadlessMediaPlayer&) = delete;
  HeadlessMediaPlayer& operator=(const HeadlessMediaPlayer&) = delete;

  void open(const std::string& path) override;
  void play() override;
  void stop() override;
  void close() override;
  void set_notify_handler(std::function<void()> on_notify) override { notify_ = on_notify; }
  bool notice_failed() const override { return notice_failed_; }

  // The test's side.
  bool is_open() const { return open_; }
  bool playing() const { return playing_; }
  const std::string& file_name() const { return path_; }
  // Milliseconds into the track.
  uint64_t position_ms() const;

 private:
  void post_notification(uint64_t delay_ms, bool track_end, bool failed = false);
  void cancel_notification() { ++notification_; }

  HeadlessContext& context_;
  std::function<void()> notify_;
  bool open_ = false;
  bool playing_ = false;
  bool plays_ = true;
  bool play_notice_fails_ = false;
  bool notice_failed_ = false;
  std::string path_;
  uint64_t duration_ms_ = 0;
  uint64_t position_at_start_ = 0;
  uint64_t started_ms_ = 0;
  uint64_t notification_ = 0;  // the pending notification's number; a stale one does nothing
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ss
