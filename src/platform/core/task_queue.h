#pragma once
// The queues behind a message loop that keeps its own: ordinary messages and the requests of
// other threads, each in arrival order. Thread-safe. Waiting is in real time; a loop with a
// virtual clock decides for itself when to wait.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace ss {

class TaskQueue {
 public:
  using Task = std::function<void()>;
  using Deadline = std::chrono::steady_clock::time_point;

  void post(Task task);
  void queue_request(Task task);
  // Queues task as a request and blocks until the serving thread has run it; rethrows its
  // error. A request dropped unrun (the queue destroyed) throws std::future_error. `queued`
  // runs once the request is in the queue, before the wait: a loop that sleeps in the system's
  // own wait wakes its thread there.
  void synchronize(const Task& task, const std::function<void()>& queued = {});

  // Runs the requests pending now; true when any ran.
  bool run_requests();
  // Runs the requests, then the messages, pending now; true when any ran.
  bool run_all();

  bool has_requests() const;
  bool has_any() const;
  // Blocks until something is pending (a request, with requests_only) or the deadline.
  bool wait_until(Deadline deadline, bool requests_only);

 private:
  // Pops and runs at most `count` tasks of `from`, one at a time, so that a task may itself
  // run the queue and an error leaves the rest queued.
  bool run_some(std::deque<Task>& from, size_t count);
  size_t size_of(const std::deque<Task>& q) const;

  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<Task> requests_;
  std::deque<Task> messages_;
};

}  // namespace ss
