// The stepping of a transition: the progress setter, one step, the loop that paces the steps
// on the GUI thread or on an animation thread, the end of a transition, Stop and Manual.
#include <algorithm>

#include "transition/animate_thread.h"
#include "transition/transition_view.h"
#include "transition/transition_view_internal.h"
#include "effects/update_frame.h"

namespace ss {
namespace {

CustomDrawEvent BindEvent(TCustomTransitionView& view, const TCustomDrawEvent& event) {
  if (!event) return {};
  return [&view, event](Bitmap24& picture, Bitmap24& screen) { event(view, picture, screen); };
}

}  // namespace

void TCustomTransitionView::SetProgress(int32_t value) {
  value = std::clamp(value, 0, 100);
  if (!busy_ || value == progress_) return;
  // Going back uncovers what the last frame drew over: all of it is repainted.
  if (value < progress_ && !painting_) InvalidateFrameArea(screen_.bounds());
  progress_ = value;
  ComposeFrame();
  if (!destroying_ && OnProgress) OnProgress(*this);
}

void TCustomTransitionView::ComposeFrame() {
  if (!old_image_ || !new_image_) return;
  // Held here so that a handler stopping the transition cannot free them under the frame.
  const std::shared_ptr<Bitmap24> old_image = old_image_;
  const std::shared_ptr<Bitmap24> new_image = new_image_;
  FrameOutcome outcome;
  {
    view_internal::CountedScope in_use(screen_locks_);
    FrameInputs frame{.old_image = *old_image,
                      .new_image = *new_image,
                      .screen = screen_,
                      .style = style_,
                      .progress = progress_,
                      .step = step_,
                      .invalidate_frame_area = [this](const Rect& r) { InvalidateFrameArea(r); },
                      .on_before_new_frame = BindEvent(*this, OnBeforeNewFrame),
                      .on_custom_draw = BindEvent(*this, OnCustomDraw),
                      .on_after_new_frame = BindEvent(*this, OnAfterNewFrame)};
    outcome = UpdateFrame(frame);
  }
  if (outcome.progress_forced_to_100) progress_ = 100;
  if (outcome.composed && !painting_ && !destroying_) host_.repaint_now();
}

bool TCustomTransitionView::AtEnd() const {
  return reverse_ ? progress_ == 0 : progress_ == 100;
}

void TCustomTransitionView::AnimateStep() {
  const int32_t next = reverse_ ? (progress_ < step_ ? 0 : progress_ - step_) : progress_ + step_;
  SetProgress(next);
}

void TCustomTransitionView::Animate() {
  if (threaded_) {
    // One thread per control: a thread still running goes on stepping.
    if (!animation_thread_)
      animation_thread_ = std::make_unique<TAnimateThread>(*this, loop_, clock_);
    return;
  }
  // Handlers run inside this loop and may stop the transition, start the next one, switch to
  // manual mode or even destroy the control; the loop checks for each before going on.
  const uint64_t id = transition_id_;
  const std::shared_ptr<bool> alive = alive_;
  const auto running = [&] {
    return *alive && busy_ && transition_id_ == id && !manual_ && !stopping_;
  };
  for (;;) {
    const uint32_t t0 = clock_.tick_count();
    AnimateStep();
    if (!*alive) return;
    if (busy_ && transition_id_ == id && AtEnd()) {
      AnimationFinished();
      return;
    }
    if (!running()) return;
    WaitForNextFrame(t0, running);
    if (!running()) return;
  }
}

void TCustomTransitionView::WaitForNextFrame(uint32_t t0, const std::function<bool()>& running) {
  // Messages are processed at least once, then until more than Delay ms have passed since the
  // step began. Between rounds the loop sleeps until a message arrives or the time is up.
  loop_.process_messages();
  while (running()) {
    const uint32_t elapsed = ticks_between(t0, clock_.tick_count());
    const uint32_t delay = static_cast<uint32_t>(delay_);
    if (elapsed > delay) return;
    loop_.wait_message(delay - elapsed + 1);
    loop_.process_messages();
  }
}

void TCustomTransitionView::AnimationFinished() {
  if (animation_thread_) {
    // Only a thread that ended is dropped; one still inside its step is told to end and kept
    // until its termination arrives.
    if (!animation_thread_->Joined()) {
      animation_thread_->Terminate();
      retired_threads_.push_back(std::move(animation_thread_));
    }
    animation_thread_.reset();
  }
  if (!stopping_ && manual_) return;  // handed over to the caller
  busy_ = false;
  ReleaseImages();
  if (OnComplete && !destroying_ && !stopping_) OnComplete(*this);
}

void TCustomTransitionView::ReleaseImages() {
  old_image_.reset();
  new_image_.reset();
}

void TCustomTransitionView::EndTransitionQuietly() {
  busy_ = false;
  ReleaseImages();
}

void TCustomTransitionView::Stop() {
  if (!busy_ || stopping_) return;
  stopping_ = true;
  const std::shared_ptr<bool> alive = alive_;
  try {
    // From inside the thread's own step the thread cannot be waited for (it waits for us);
    // AnimationFinished then tells it to end and the transition ends here.
    if (animation_thread_ && !in_thread_step_) {
      animation_thread_->Terminate();
      WaitForAnimationThread();
    } else {
      AnimationFinished();
    }
  } catch (...) {
    if (*alive) stopping_ = false;
    throw;
  }
  if (*alive) stopping_ = false;
}

void TCustomTransitionView::WaitForAnimationThread() {
  while (animation_thread_) loop_.serve_requests(view_internal::kThreadWaitSliceMs);
}

void TCustomTransitionView::SetManual(bool value) {
  if (value == manual_) return;
  if (!value && busy_ && animation_thread_) {
    if (in_thread_step_) {
      // Switched on and off again within one step of a thread: that thread simply goes on.
      manual_ = false;
      return;
    }
    // The thread stopped by switching Manual on has not ended yet. Let it end while Manual is
    // still set, so that its end leaves the transition Busy; then a new thread takes over.
    WaitForAnimationThread();
  }
  manual_ = value;
  if (!busy_) {
    progress_ = reverse_ ? 100 : 0;
    return;
  }
  if (!value) Animate();
}

bool TCustomTransitionView::ThreadStep(const TAnimateThread& thread, uint32_t& delay) {
  if (thread.Terminated() || animation_thread_.get() != &thread || !busy_ || manual_ || stopping_ ||
      destroying_)
    return false;
  {
    view_internal::FlagScope stepping(in_thread_step_);
    AnimateStep();
  }
  delay = static_cast<uint32_t>(delay_);
  return !thread.Terminated() && !AtEnd();
}

void TCustomTransitionView::ThreadTerminated(TAnimateThread* thread) {
  thread->Join();
  const auto retired = std::find_if(retired_threads_.begin(), retired_threads_.end(),
                                    [&](const auto& t) { return t.get() == thread; });
  if (retired != retired_threads_.end()) {
    // Its transition was ended when it was retired.
    retired_threads_.erase(retired);
    return;
  }
  if (animation_thread_.get() != thread) return;
  if (const std::exception_ptr error = thread->FatalException()) {
    // A handler failed inside a step: the transition ends without completing, and the error
    // goes to whoever runs the loop.
    animation_thread_.reset();
    EndTransitionQuietly();
    if (!destroying_) std::rethrow_exception(error);
    return;
  }
  AnimationFinished();
}

}  // namespace ss
