#include "platform/posix/posix_loop.h"

#include <chrono>

namespace ss {
namespace {

TaskQueue::Deadline deadline_after(uint32_t timeout_ms) {
  return std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
}

}  // namespace

PosixLoop::PosixLoop() : gui_thread_(std::this_thread::get_id()) {}

bool PosixLoop::process_messages() {
  return tasks_.run_all();
}

bool PosixLoop::wait_message(uint32_t timeout_ms) {
  return tasks_.wait_until(deadline_after(timeout_ms), false);
}

bool PosixLoop::serve_requests(uint32_t timeout_ms) {
  tasks_.wait_until(deadline_after(timeout_ms), true);
  return tasks_.run_requests();
}

void PosixLoop::post(Task task) {
  tasks_.post(std::move(task));
}

void PosixLoop::queue(Task task) {
  tasks_.queue_request(std::move(task));
}

void PosixLoop::synchronize(const Task& task) {
  if (is_gui_thread()) {
    task();
    return;
  }
  tasks_.synchronize(task);
}

bool PosixLoop::is_gui_thread() const {
  return std::this_thread::get_id() == gui_thread_;
}

}  // namespace ss
