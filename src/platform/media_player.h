#pragma once
// The background-music player: open a file by name (the format is found from the file), play
// it with a notification when playback ends, stop without one, close.
#include <functional>
#include <string>

namespace ss {

class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;
  // Closes any device open before. Throws SaverError with the device's text on failure.
  virtual void open(const std::string& path) = 0;
  // Plays from the current position and returns at once. When playback ends (or fails, or is
  // superseded) the notify handler runs as a message on the GUI thread. Throws on failure.
  virtual void play() = 0;
  // The next command asks for no notification (stop never notifies).
  virtual void stop() = 0;
  virtual void close() = 0;
  virtual void set_notify_handler(std::function<void()> on_notify) = 0;
  // While the notify handler runs: true when the notice reports a failed playback rather than
  // an end, a stop or a superseded play.
  virtual bool notice_failed() const { return false; }
};

}  // namespace ss
