#pragma once
// A parent window in memory. The control paints into `surface()`, a bitmap of the parent's
// client size; invalidations are logged and kept pending until a paint is delivered, either
// at once (repaint_now) or when the test says the loop would have got to it (flush_paint).
#include <cstdint>
#include <vector>

#include "gfx/bitmap24.h"
#include "platform/control_host.h"

namespace ss {

class HeadlessHost final : public ControlHost {
 public:
  HeadlessHost(int32_t parent_width, int32_t parent_height);

  void attach(HostedControl* control) override { control_ = control; }
  Rect parent_client_rect() const override { return surface_.bounds(); }
  void invalidate(const Rect& parent_rect) override;
  void repaint_now() override;
  bool design_time() const override { return false; }

  // The test's side.
  const Bitmap24& surface() const { return surface_; }
  // Resizes the parent (content black) and tells the control.
  void resize_parent(int32_t width, int32_t height);
  bool paint_pending() const { return !pending_.empty(); }
  // Delivers the pending paint, if any.
  void flush_paint();
  // Every rectangle invalidated since the last clear, in order.
  const std::vector<Rect>& invalidated() const { return invalidated_; }
  void clear_invalidated() { invalidated_.clear(); }
  // Paints delivered to the control (including those it dropped).
  int32_t paint_count() const { return paint_count_; }

  void mouse_enter();
  void mouse_leave();
  void mouse_down(const MouseInput& input);
  void mouse_move(const MouseInput& input);
  void mouse_up(const MouseInput& input);

 private:
  void paint_control();

  Bitmap24 surface_;
  HostedControl* control_ = nullptr;
  std::vector<Rect> invalidated_;
  std::vector<Rect> pending_;
  int32_t paint_count_ = 0;
};

}  // namespace ss
