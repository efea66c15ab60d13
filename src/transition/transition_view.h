#pragma once
// The picture show control: a windowless control that never simply swaps one picture for
// another. Each Execute animates a transition from what it showed before to `Picture`, in one
// of the styles of UpdateFrame, stepping `Progress` from 0 to 100 either in a loop that keeps
// the message loop running between frames or on an animation thread. Around and under the
// image it paints its colour and a background picture.
//
// Everything runs on the GUI thread. An animation thread only times the frames and asks the
// GUI thread to run each step.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "gfx/bitmap24.h"
#include "gfx/color.h"
#include "gfx/geometry.h"
#include "package/picture.h"
#include "platform/clock.h"
#include "platform/control_host.h"
#include "platform/message_loop.h"

namespace ss {

class TCustomTransitionView;
class TAnimateThread;

enum TBackgroundMode : uint8_t { bmNone, bmTiled, bmStretched, bmCentered };
enum TAlign : uint8_t { alNone, alClient };
enum TThreadPriority : uint8_t {
  tpIdle,
  tpLowest,
  tpLower,
  tpNormal,
  tpHigher,
  tpHighest,
  tpTimeCritical
};

using TNotifyEvent = std::function<void(TCustomTransitionView& sender)>;
// picture: the new image; screen: the frame being composed. Both belong to the control and
// are valid during the call only; a handler draws into screen.
using TCustomDrawEvent =
    std::function<void(TCustomTransitionView& sender, Bitmap24& picture, Bitmap24& screen)>;
using TMouseEvent = std::function<void(TCustomTransitionView& sender, MouseButton button,
                                       uint32_t shift, int32_t x, int32_t y)>;
using TMouseMoveEvent =
    std::function<void(TCustomTransitionView& sender, uint32_t shift, int32_t x, int32_t y)>;

class TCustomTransitionView : private HostedControl {
 public:
  // The system's window colour, the control's own colour until its parent's is known.
  static constexpr Color kDefaultColor = static_cast<Color>(0xFF000005u);

  // The control attaches itself to host and stays attached until destroyed. host, loop and
  // clock must outlive it.
  TCustomTransitionView(ControlHost& host, MessageLoop& loop, Clock& clock);
  // Waits for a running animation thread (serving its requests), firing no OnComplete and no
  // OnProgress. An unthreaded transition may be destroyed from its OnProgress or OnComplete
  // handler or from a message handler; destroying the control from a frame event or from a
  // step of its animation thread is not supported (that thread waits for the very step).
  virtual ~TCustomTransitionView();
  TCustomTransitionView(const TCustomTransitionView&) = delete;
  TCustomTransitionView& operator=(const TCustomTransitionView&) = delete;

  // Pictures are copied in; an empty picture clears the graphic.
  const Picture& GetPicture() const { return picture_; }
  void SetPicture(const Picture& value);
  const Picture& BgPicture() const { return bg_picture_; }
  void SetBgPicture(const Picture& value);
  TBackgroundMode BgMode() const { return bg_mode_; }
  void SetBgMode(TBackgroundMode value);

  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool StretchFine() const { return stretch_fine_; }
  void SetStretchFine(bool value);

  // Stored as a byte. 0 is custom drawn; values above 127 compose nothing.
  int32_t Style() const { return style_; }
  void SetStyle(int32_t value);
  // Kept in 1..100.
  int32_t Step() const { return step_; }
  void SetStep(int32_t value);
  // Minimum milliseconds per frame, 0..65535.
  int32_t Delay() const { return delay_; }
  void SetDelay(int32_t value);
  bool Reverse() const { return reverse_; }
  void SetReverse(bool value) { reverse_ = value; }
  bool Manual() const { return manual_; }
  void SetManual(bool value);
  bool Threaded() const { return threaded_; }
  void SetThreaded(bool value) { threaded_ = value; }
  TThreadPriority ThreadPriority() const { return thread_priority_; }
  void SetThreadPriority(TThreadPriority value) { thread_priority_ = value; }

  Color GetColor() const { return color_; }
  // An explicit colour stops following the parent's.
  void SetColor(Color value);
  bool ParentColor() const { return parent_color_; }
  void SetParentColor(bool value);
  // The parent tells its colour here, on placement and on every change.
  void CMParentColorChanged(Color parent_color);

  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);
  int32_t Left() const { return bounds_.left; }
  int32_t Top() const { return bounds_.top; }
  int32_t Width() const { return bounds_.width(); }
  int32_t Height() const { return bounds_.height(); }
  void SetLeft(int32_t value) { SetBounds(value, Top(), Width(), Height()); }
  void SetTop(int32_t value) { SetBounds(Left(), value, Width(), Height()); }
  void SetWidth(int32_t value) { SetBounds(Left(), Top(), value, Height()); }
  void SetHeight(int32_t value) { SetBounds(Left(), Top(), Width(), value); }
  // With Align alClient the control keeps the parent's client area whatever is asked.
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  Rect BoundsRect() const { return bounds_; }
  Rect ClientRect() const { return {0, 0, Width(), Height()}; }

  bool Busy() const { return busy_; }
  int32_t Progress() const { return progress_; }
  void SetProgress(int32_t value);

  // An invisible control paints nothing; its area shows whatever the parent paints there.
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

  void Execute();
  void Stop();
  void Clear();
  // Queues a repaint of the whole control.
  void Invalidate();
  // Paints the control now, before returning.
  void Repaint();

  // What the control shows and composes, for tests and for callers that save a frame.
  const Bitmap24& ScreenBitmap() const { return screen_; }
  const Bitmap24& PaintBuffer() const { return paint_buffer_; }
  const Bitmap24* OldImage() const { return old_image_.get(); }
  const Bitmap24* NewImage() const { return new_image_.get(); }
  Rect PictureRect() const { return picture_rect_; }
  // Where the screen bitmap appears in client coordinates.
  Rect DisplayRect() const;
  bool HasAnimationThread() const { return animation_thread_ != nullptr; }

  TCustomDrawEvent OnBeforeNewFrame;
  TCustomDrawEvent OnAfterNewFrame;
  TCustomDrawEvent OnCustomDraw;
  TNotifyEvent OnProgress;
  TNotifyEvent OnComplete;
  TNotifyEvent OnChange;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

 protected:
  virtual void PictureChanged();
  virtual void Paint(ControlCanvas& canvas);
  void BackgroundChanged();
  void AdjustSizeToPicture();
  void UpdatePictureRect();
  void InvalidateFrameArea(Rect r);
  void PrepareTransition();
  void AnimateStep();
  void Animate();
  void AnimationFinished();

  // Messages.
  void WMPaint(ControlCanvas& canvas);
  void WMSize();
  void CMMouseEnter();
  void CMMouseLeave();

 private:
  friend class TAnimateThread;

  // HostedControl.
  Rect bounds_in_parent() const override { return bounds_; }
  void handle_paint(ControlCanvas& canvas) override { WMPaint(canvas); }
  void handle_parent_resized(const Rect& parent_client) override;
  void handle_mouse_enter() override { CMMouseEnter(); }
  void handle_mouse_leave() override { CMMouseLeave(); }
  void handle_mouse_down(const MouseInput& input) override;
  void handle_mouse_move(const MouseInput& input) override;
  void handle_mouse_up(const MouseInput& input) override;

  // Painting helpers.
  void DrawBackground(const Rect& r);
  void DrawScreen(const Rect& r);
  void DrawDesignFrame();
  void ResizeScreen(int32_t width, int32_t height);
  bool ShouldRepaintScreen() const { return !screen_.empty() && !painting_; }

  // Animation helpers.
  bool AtEnd() const;
  void ComposeFrame();
  void WaitForNextFrame(uint32_t t0, const std::function<bool()>& running);
  void ReleaseImages();
  void EndTransitionQuietly();
  // Serves the animation thread's requests until its termination has run.
  void WaitForAnimationThread();
  // Run on the GUI thread for the animation thread: checks whether it should go on, steps, and
  // tells it the delay. False when the thread is to end.
  bool ThreadStep(const TAnimateThread& thread, uint32_t& delay);
  // The thread's termination handler, queued by the thread as its last act.
  void ThreadTerminated(TAnimateThread* thread);

  ControlHost& host_;
  MessageLoop& loop_;
  Clock& clock_;

  // Shown by Paint; each frame is composed here. Never freed except by Clear.
  Bitmap24 screen_;
  // Where the unstretched screen bitmap lies in client coordinates.
  Rect picture_rect_;
  std::unique_ptr<TAnimateThread> animation_thread_;
  // Threads told to end from inside their own step: they end once that step returns.
  std::vector<std::unique_ptr<TAnimateThread>> retired_threads_;
  bool painting_ = false;
  // The client area as last painted, from which the next transition takes its old image.
  Bitmap24 paint_buffer_;
  bool stopping_ = false;
  // Shared so that a frame being composed keeps its images when a handler stops the
  // transition underneath it.
  std::shared_ptr<Bitmap24> old_image_;
  std::shared_ptr<Bitmap24> new_image_;

  Picture picture_;
  Picture bg_picture_;
  TBackgroundMode bg_mode_ = bmTiled;
  bool auto_size_ = true;
  bool center_ = false;
  bool stretch_ = false;
  bool stretch_fine_ = false;
  int32_t style_ = 51;
  int32_t step_ = 4;
  int32_t delay_ = 40;
  bool reverse_ = false;
  bool manual_ = false;
  bool threaded_ = true;
  TThreadPriority thread_priority_ = tpNormal;
  Color color_ = kDefaultColor;
  bool parent_color_ = true;
  std::optional<Color> known_parent_color_;
  TAlign align_ = alNone;
  bool visible_ = true;
  Rect bounds_;
  int32_t progress_ = 0;
  bool busy_ = false;
  bool destroying_ = false;

  // Nonzero while the screen bitmap is in use (a frame being composed, a paint drawing it).
  int32_t screen_locks_ = 0;
  bool in_thread_step_ = false;
  // Counts transitions, so that a loop notices when its transition was replaced under it.
  uint64_t transition_id_ = 0;
  // Cleared by the destructor, for loops further up the stack of a handler that destroyed us.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The control as placed on a form; it adds nothing to the custom class.
class TTransitionView final : public TCustomTransitionView {
 public:
  using TCustomTransitionView::TCustomTransitionView;
};

}  // namespace ss
