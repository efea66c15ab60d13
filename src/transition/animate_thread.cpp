#include "transition/animate_thread.h"

#include <chrono>

#include "transition/transition_view.h"

namespace ss {

TAnimateThread::TAnimateThread(TCustomTransitionView& view, MessageLoop& loop, Clock& clock)
    : view_(view), loop_(loop), clock_(clock), thread_([this] { Execute(); }) {}

TAnimateThread::~TAnimateThread() {
  Join();
}

void TAnimateThread::Terminate() {
  {
    std::lock_guard lock(rest_mutex_);
    terminated_ = true;
  }
  wake_.notify_all();
}

void TAnimateThread::Join() {
  if (thread_.joinable()) thread_.join();
}

void TAnimateThread::Rest(uint32_t ms) {
  std::unique_lock lock(rest_mutex_);
  wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return terminated_.load(); });
}

void TAnimateThread::Execute() {
  try {
    while (!terminated_) {
      const uint32_t t0 = clock_.tick_count();
      // The GUI thread decides whether to go on (Manual, Stop, the end) and runs the step.
      bool go_on = false;
      uint32_t delay = 0;
      loop_.synchronize([&] { go_on = view_.ThreadStep(*this, delay); });
      if (!go_on) break;
      const uint32_t elapsed = ticks_between(t0, clock_.tick_count());
      if (elapsed < delay) Rest(delay - elapsed);
    }
  } catch (...) {
    fatal_ = std::current_exception();
  }
  terminated_ = true;
  TCustomTransitionView* view = &view_;
  loop_.queue([view, this] { view->ThreadTerminated(this); });
}

}  // namespace ss
