#pragma once
// What the headless platform pretends the machine is like. A test fills this in before it
// makes the platform; the answer queues are read as the calls come, so a test may also add to
// them while the run is paused.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "gfx/geometry.h"
#include "platform/desktop.h"
#include "platform/headless/input_event.h"

namespace ss {

// The user's "ScreenSaveUsePassword" switch.
enum class PasswordSwitch : uint8_t { kKeyMissing, kValueMissing, kValue };

struct MediaTrackConfig {
  bool opens = true;
  bool plays = true;
  // Play is accepted, but its notice reports a failure at once (a device that takes the file
  // and cannot sound it).
  bool play_notice_fails = false;
  uint32_t duration_ms = 3000;
};

struct FlashMovieConfig {
  int32_t total_frames = 100;
  bool play_fails = false;
  // Frames numbered from 0, as real controls number them: the movie stops on its last frame,
  // total_frames - 1, and reports that it no longer plays. Otherwise the frame count runs up to
  // total_frames and the movie still reports playing there.
  bool numbered_from_zero = false;
};

struct HeadlessConfig {
  // The screen and the clock.
  Point screen_size{1024, 768};
  // Further monitors, in the show's coordinates (the primary lies at 0, 0, screen_size).
  std::vector<Rect> other_monitors;
  uint32_t start_tick = 0;  // the tick count at virtual time 0; near 2^32 to test the wrap

  // How long run() may go on in virtual time, and, when set, how long after the last scripted
  // event has been delivered it stops by itself.
  uint64_t run_limit_ms = 10 * 60 * 1000;
  std::optional<uint64_t> end_after_input_ms;

  // Files: the native file system, with these redirected when set. The user's settings folder
  // is none when unset, so that no test writes into the real home.
  std::optional<std::string> temp_directory;
  std::optional<std::string> user_settings_folder;
  // The system's code page for paths (932 for Japanese, say); the native one when unset.
  std::optional<uint32_t> code_page;
  std::optional<std::string> executable_path;

  // The desktop.
  Point cursor{0, 0};  // screen position before any scripted move
  bool hook_installs = true;
  InstanceGuardResult instance_guard = InstanceGuardResult::kCreated;
  std::deque<bool> yes_no_answers;  // true for Yes, taken one per question
  bool yes_no_default = false;      // once the queue is empty
  // Runs while a message box is up, as the messages the system delivers meanwhile (the owner
  // window losing and regaining activation, say).
  std::function<void()> during_message_box;
  bool change_password_entry_point = true;

  // The password check.
  PasswordSwitch password_switch = PasswordSwitch::kValue;
  int32_t password_value = 0;
  bool password_component_loads = true;
  bool password_entry_point = true;
  std::deque<bool> verify_answers;  // true for the right password, false for cancel
  bool verify_default = true;       // once the queue is empty

  // The media player. Tracks are looked up by file name (without folder); a file that does
  // not exist never opens when media_needs_file is set.
  std::map<std::string, MediaTrackConfig> media_tracks;
  MediaTrackConfig media_default;
  bool media_needs_file = true;

  // The movie control. current_frame advances this many frames per virtual second of play
  // and stops at the movie's total.
  bool flash_installed = true;
  std::map<std::string, FlashMovieConfig> flash_movies;  // by file name
  FlashMovieConfig flash_default;
  uint32_t flash_frames_per_second = 12;

  // The foreign preview window: unknown handles are never visible. It answers "not visible"
  // for the first preview_hidden_polls polls, then "visible" until either limit is reached,
  // and "not visible" for ever after (the window is gone).
  intptr_t preview_window = 0x5150;
  Rect preview_rect{200, 300, 352, 412};  // 152 x 112, in screen coordinates
  uint32_t preview_hidden_polls = 0;
  std::optional<uint32_t> preview_visible_polls;
  std::optional<uint64_t> preview_visible_until_ms;

  // Scripted input, delivered at its virtual times.
  std::vector<InputEvent> input;
};

}  // namespace ss
