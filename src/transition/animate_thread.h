#pragma once
// The animation thread of a threaded transition. It only measures time, sleeps out the rest
// of each frame's delay and asks the GUI thread to run each step, waiting for it; it never
// touches a bitmap or fires an event. As its last act it queues its termination handler to
// the GUI thread. The control owns it and joins it there. Its sleep is in real time and ends
// early when the thread is told to terminate, so Stop never waits out a long Delay.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>

#include "platform/clock.h"
#include "platform/message_loop.h"

namespace ss {

class TCustomTransitionView;

class TAnimateThread {
 public:
  // Starts running at once.
  TAnimateThread(TCustomTransitionView& view, MessageLoop& loop, Clock& clock);
  ~TAnimateThread();
  TAnimateThread(const TAnimateThread&) = delete;
  TAnimateThread& operator=(const TAnimateThread&) = delete;

  // Asks the thread to end; wakes it from its sleep. Any thread.
  void Terminate();
  bool Terminated() const { return terminated_.load(); }
  // Waits for the thread function to return. Called once its termination handler runs, when
  // the wait is at most the moment between queuing that handler and returning.
  void Join();
  bool Joined() const { return !thread_.joinable(); }
  // The error that ended the thread, if any; read after Join.
  std::exception_ptr FatalException() const { return fatal_; }

 private:
  void Execute();
  void Rest(uint32_t ms);

  TCustomTransitionView& view_;
  MessageLoop& loop_;
  Clock& clock_;
  std::atomic<bool> terminated_{false};
  std::mutex rest_mutex_;
  std::condition_variable wake_;
  std::exception_ptr fatal_;
  std::thread thread_;  // last: starts once everything above exists
};

}  // namespace ss
