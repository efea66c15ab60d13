#include "platform/core/task_queue.h"

#include <future>
#include <memory>

namespace ss {

void TaskQueue::post(Task task) {
  {
    std::lock_guard lock(mutex_);
    messages_.push_back(std::move(task));
  }
  arrived_.notify_all();
}

void TaskQueue::queue_request(Task task) {
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(std::move(task));
  }
  arrived_.notify_all();
}

void TaskQueue::synchronize(const Task& task, const std::function<void()>& queued) {
  // The promise lives in the request: dropping the request unrun breaks it, which wakes us.
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> finished = done->get_future();
  queue_request([done, &task] {
    try {
      task();
      done->set_value();
    } catch (...) {
      done->set_exception(std::current_exception());
    }
  });
  if (queued) queued();
  finished.get();
}

size_t TaskQueue::size_of(const std::deque<Task>& q) const {
  std::lock_guard lock(mutex_);
  return q.size();
}

bool TaskQueue::run_some(std::deque<Task>& from, size_t count) {
  bool ran = false;
  for (; count > 0; --count) {
    Task task;
    {
      std::lock_guard lock(mutex_);
      if (from.empty()) break;
      task = std::move(from.front());
      from.pop_front();
    }
    ran = true;
    task();
  }
  return ran;
}

bool TaskQueue::run_requests() {
  return run_some(requests_, size_of(requests_));
}

bool TaskQueue::run_all() {
  // Count the messages first: requests may post, and those wait for the next round.
  const size_t messages = size_of(messages_);
  const bool ran_requests = run_requests();
  const bool ran_messages = run_some(messages_, messages);
  return ran_requests || ran_messages;
}

bool TaskQueue::has_requests() const {
  std::lock_guard lock(mutex_);
  return !requests_.empty();
}

bool TaskQueue::has_any() const {
  std::lock_guard lock(mutex_);
  return !requests_.empty() || !messages_.empty();
}

bool TaskQueue::wait_until(Deadline deadline, bool requests_only) {
  std::unique_lock lock(mutex_);
  return arrived_.wait_until(
      lock, deadline, [&] { return !requests_.empty() || (!requests_only && !messages_.empty()); });
}

}  // namespace ss
