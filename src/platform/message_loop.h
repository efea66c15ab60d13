#pragma once
// The GUI thread's message loop as a control sees it. Ordinary messages are posted; other
// threads hand work to the GUI thread as requests, either waiting for it (synchronize) or not
// (queue). Requests are also served alone, so a GUI thread that waits for a worker to end can
// keep that worker going without running unrelated messages.
#include <cstdint>
#include <functional>

namespace ss {

class MessageLoop {
 public:
  using Task = std::function<void()>;
  virtual ~MessageLoop() = default;

  // GUI thread: runs the requests and messages pending now; true when any ran. An error thrown
  // by one propagates, and the rest stay queued.
  virtual bool process_messages() = 0;
  // GUI thread: blocks until a message or request is pending or timeout_ms has passed; runs
  // nothing. True when something is pending.
  virtual bool wait_message(uint32_t timeout_ms) = 0;
  // GUI thread: runs the pending requests of other threads only, first waiting up to
  // timeout_ms for one to arrive. True when any ran.
  virtual bool serve_requests(uint32_t timeout_ms) = 0;

  // Any thread: queues an ordinary message.
  virtual void post(Task task) = 0;
  // Any thread: hands task to the GUI thread as a request and returns at once.
  virtual void queue(Task task) = 0;
  // Any thread: runs task on the GUI thread and returns when it has run, rethrowing its error.
  // On the GUI thread itself the task runs at once.
  virtual void synchronize(const Task& task) = 0;

  virtual bool is_gui_thread() const = 0;
};

}  // namespace ss
