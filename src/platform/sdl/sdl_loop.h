#pragma once
// The GUI thread's message loop on SDL's event queue. Messages, requests and due timers are
// kept in our own queues; SDL's events (input, window events) are moved into the message queue
// each time the loop processes, so they run in arrival order with everything else. Waiting
// blocks in SDL_WaitEventTimeout until an event arrives or the next timer is due: a loop with
// nothing to do sleeps. Other threads wake it by pushing a wake-up event after they post.
#include <atomic>
#include <cstdint>
#include <functional>

#include "platform/core/queued_loop.h"

union SDL_Event;

namespace ss {

class SdlLoop final : public QueuedLoop {
 public:
  using EventHandler = std::function<void(const SDL_Event& event)>;

  // The thread that creates the loop is its GUI thread; SDL's video must be initialised.
  SdlLoop();

  bool process_messages() override;
  bool wait_message(uint32_t timeout_ms) override;

  // Every SDL event becomes a message for this handler.
  void set_event_handler(EventHandler handler) { on_event_ = std::move(handler); }

 private:
  void move_sdl_events();
  void wake() override;

  EventHandler on_event_;
  uint32_t wake_event_ = 0;
  std::atomic<bool> wake_pending_{false};
};

}  // namespace ss
