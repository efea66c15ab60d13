#pragma once
// One scripted input event: what a user (or the system) does at a given virtual time. The
// builders below read like a script:
//   {key_down(1000, 27), mouse_move(2000, 500, 400), mouse_down(2100)}
#include <cstdint>
#include <string>

#include "gfx/geometry.h"
#include "platform/control_host.h"

namespace ss {

struct InputEvent {
  enum class Kind : uint8_t {
    kKeyDown,      // key, shift
    kMouseMove,    // pos, in client coordinates of the window when `client`, else screen
    kMouseDown,    // button, at the cursor
    kMouseUp,      // button, at the cursor
    kUserMessage,  // message, to the window as if posted to it
    kActivate,     // the window is activated again
    kClose,        // the window is asked to close from outside
    kFlashCommand  // command, args, from the movie of the latest movie control
  };

  uint64_t at_ms = 0;  // virtual time since the platform was made
  Kind kind = Kind::kKeyDown;
  uint32_t key = 0;
  uint32_t shift = 0;
  Point pos;
  bool client = false;
  MouseButton button = MouseButton::kLeft;
  uint32_t message = 0;
  std::string command;
  std::string args;
};

inline InputEvent key_down(uint64_t at_ms, uint32_t key, uint32_t shift = 0) {
  return {.at_ms = at_ms, .kind = InputEvent::Kind::kKeyDown, .key = key, .shift = shift};
}
// Screen coordinates.
inline InputEvent mouse_move(uint64_t at_ms, int32_t x, int32_t y) {
  return {.at_ms = at_ms, .kind = InputEvent::Kind::kMouseMove, .pos = {x, y}};
}
// Client coordinates of the window the input goes to.
inline InputEvent mouse_move_client(uint64_t at_ms, int32_t x, int32_t y) {
  return {.at_ms = at_ms, .kind = InputEvent::Kind::kMouseMove, .pos = {x, y}, .client = true};
}
inline InputEvent mouse_down(uint64_t at_ms, MouseButton button = MouseButton::kLeft) {
  return {.at_ms = at_ms, .kind = InputEvent::Kind::kMouseDown, .button = button};
}
inline InputEvent mouse_up(uint64_t at_ms, MouseButton button = MouseButton::kLeft) {
  return {.at_ms = at_ms, .kind = InputEvent::Kind::kMouseUp, .button = button};
}
inline InputEvent user_message(uint64_t at_ms, uint32_t message) {
  return {.at_ms = at_ms, .kind = InputEvent::Kind::kUserMessage, .message = message};
}
inline InputEvent activate_window(uint64_t at_ms) {
  return {.at_ms = at_ms, .kind = InputEvent::Kind::kActivate};
}
inline InputEvent close_window(uint64_t at_ms) {
  return {.at_ms = at_ms, .kind = InputEvent::Kind::kClose};
}
inline InputEvent flash_command(uint64_t at_ms, std::string command, std::string args = {}) {
  return {.at_ms = at_ms,
          .kind = InputEvent::Kind::kFlashCommand,
          .command = std::move(command),
          .args = std::move(args)};
}

}  // namespace ss
