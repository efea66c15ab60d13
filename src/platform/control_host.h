#pragma once
// What a windowless control sits on: an area of its parent window. The host paints the control
// by handing it a canvas for that area and forwards the pointer; the control tells the host
// which parts of the parent to repaint. Coordinates given to the host are the parent's.
#include <cstdint>

#include "gfx/bitmap24.h"
#include "gfx/geometry.h"

namespace ss {

// The control's area of the parent surface during one paint.
class ControlCanvas {
 public:
  // Puts image at the control's top-left corner, clipped to the control's area.
  virtual void copy_from(const Bitmap24& image) = 0;

 protected:
  ~ControlCanvas() = default;
};

enum class MouseButton : uint8_t { kLeft, kRight, kMiddle };

struct MouseInput {
  MouseButton button = MouseButton::kLeft;
  uint32_t shift = 0;  // the platform's modifier bits, passed through
  int32_t x = 0;       // in the control's client coordinates
  int32_t y = 0;
};

// The host calls these on the GUI thread, except where a backend paints from elsewhere: a
// control drops paints that arrive on any other thread.
class HostedControl {
 public:
  virtual Rect bounds_in_parent() const = 0;
  virtual void handle_paint(ControlCanvas& canvas) = 0;
  virtual void handle_parent_resized(const Rect& parent_client) = 0;
  virtual void handle_mouse_enter() = 0;
  virtual void handle_mouse_leave() = 0;
  virtual void handle_mouse_down(const MouseInput& input) = 0;
  virtual void handle_mouse_move(const MouseInput& input) = 0;
  virtual void handle_mouse_up(const MouseInput& input) = 0;

 protected:
  ~HostedControl() = default;
};

class ControlHost {
 public:
  virtual ~ControlHost() = default;
  // The control painted on this host; nullptr detaches it. A control attaches itself.
  virtual void attach(HostedControl* control) = 0;
  virtual Rect parent_client_rect() const = 0;
  // Marks an area of the parent for a later paint, without erasing its background first.
  virtual void invalidate(const Rect& parent_rect) = 0;
  // Paints the control now, before returning, and marks its area as painted.
  virtual void repaint_now() = 0;
  // True only inside a form designer; a running saver never is.
  virtual bool design_time() const = 0;
};

}  // namespace ss
