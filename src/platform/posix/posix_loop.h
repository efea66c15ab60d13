#pragma once
// A native message loop in real time: the thread that creates it is its GUI thread, and every
// wait blocks on a condition variable until something is posted or the time is up.
#include <thread>

#include "platform/message_loop.h"
#include "platform/core/task_queue.h"

namespace ss {

class PosixLoop final : public MessageLoop {
 public:
  PosixLoop();

  bool process_messages() override;
  bool wait_message(uint32_t timeout_ms) override;
  bool serve_requests(uint32_t timeout_ms) override;
  void post(Task task) override;
  void queue(Task task) override;
  void synchronize(const Task& task) override;
  bool is_gui_thread() const override;

 private:
  std::thread::id gui_thread_;
  TaskQueue tasks_;
};

}  // namespace ss
