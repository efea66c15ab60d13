#pragma once
// The movie-player control of the "flash" kind, as the show uses it. Creating it throws when
// the control is not installed; every call may throw when the control fails.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "gfx/geometry.h"

namespace ss {

class FlashControl {
 public:
  virtual ~FlashControl() = default;
  virtual void set_bounds(const Rect& rect) = 0;
  virtual void set_visible(bool visible) = 0;
  virtual bool visible() const = 0;
  // The full path of the movie file, in the system's 8-bit code page.
  virtual void set_movie(const std::string& path) = 0;
  virtual void play() = 0;
  virtual void stop() = 0;
  virtual void stop_play() = 0;
  virtual int32_t total_frames() = 0;
  virtual int32_t current_frame() = 0;
  // Whether the loaded movie is playing; a control that cannot say answers true.
  virtual bool is_playing() = 0;
  // The movie's commands (command, args), converted to 8-bit text, on the GUI thread.
  virtual void set_fs_command_handler(
      std::function<void(const std::string& command, const std::string& args)> handler) = 0;
};

class ShowWindow;

class FlashFactory {
 public:
  virtual ~FlashFactory() = default;
  // A child control of the window; throws SaverError when the control cannot be created.
  virtual std::unique_ptr<FlashControl> create(ShowWindow& parent) = 0;
};

}  // namespace ss
