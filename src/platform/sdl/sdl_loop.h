#pragma once
// The GUI thread's message loop on SDL's event queue. Messages, requests and due timers are
// kept in our own queues; SDL's events (input, window events) are moved into the message queue
// each time the loop processes, so they run in arrival order with everything else. Waiting
// blocks in SDL_WaitEventTimeout until an event arrives or the next timer is due: a loop with
// nothing to do sleeps. Other threads wake it by pushing a wake-up event after they post.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "platform/message_loop.h"
#include "platform/core/task_queue.h"

union SDL_Event;

namespace ss {

class SdlLoop final : public MessageLoop {
 public:
  using EventHandler = std::function<void(const SDL_Event& event)>;

  // The thread that creates the loop is its GUI thread; SDL's video must be initialised.
  SdlLoop();

  bool process_messages() override;
  bool wait_message(uint32_t timeout_ms) override;
  bool serve_requests(uint32_t timeout_ms) override;
  void post(Task task) override;
  void queue(Task task) override;
  void synchronize(const Task& task) override;
  bool is_gui_thread() const override;

  // GUI thread: a message that becomes pending once delay_ms have passed.
  void post_after(uint32_t delay_ms, Task task);
  // Every SDL event becomes a message for this handler.
  void set_event_handler(EventHandler handler) { on_event_ = std::move(handler); }

 private:
  using Deadline = std::chrono::steady_clock::time_point;
  struct Timer {
    Deadline due;
    uint64_t order;
    Task task;
  };
  void move_sdl_events();
  void post_due_timers();
  void wake();

  std::thread::id gui_thread_;
  TaskQueue tasks_;
  std::vector<Timer> timers_;  // GUI thread only
  uint64_t timers_set_ = 0;
  EventHandler on_event_;
  uint32_t wake_event_ = 0;
  std::atomic<bool> wake_pending_{false};
};

}  // namespace ss
