#pragma once
// A top-level window of ours (the show form, the setup dialog), seen from portable code. The
// window hosts the picture control and passes keyboard and mouse input to a form.
#include <cstdint>
#include <functional>
#include <string>

#include "gfx/color.h"
#include "gfx/geometry.h"
#include "platform/control_host.h"

namespace ss {

// What a form receives from its window. Handlers run on the GUI thread, inside the loop.
class FormEvents {
 public:
  virtual void handle_show() = 0;
  virtual void handle_activate() = 0;
  virtual void handle_key_down(uint32_t key, uint32_t shift) = 0;
  // Client coordinates.
  virtual void handle_mouse_move(uint32_t shift, int32_t x, int32_t y) = 0;
  // A button pressed where no control lies (a window that hosts none). Client coordinates.
  virtual void handle_mouse_down(MouseButton /*button*/, uint32_t /*shift*/, int32_t /*x*/,
                                 int32_t /*y*/) {}
  // A private message posted to the window (the show's start and stop messages).
  virtual void handle_user_message(uint32_t message) = 0;
  // The window is closing: clean up before it goes. After this the loop ends.
  virtual void handle_close() = 0;

 protected:
  ~FormEvents() = default;
};

class ShowWindow : public ControlHost {
 public:
  virtual void set_events(FormEvents* events) = 0;
  virtual void set_bounds(const Rect& screen_rect) = 0;
  virtual Rect bounds() const = 0;
  virtual void set_color(Color color) = 0;
  virtual void set_topmost() = 0;
  // Makes the window visible. A window that was hidden runs the form's handle_show and then
  // handle_activate before this returns.
  virtual void show() = 0;
  virtual bool visible() const = 0;
  // Hides the application's own hidden top-level window (the one of the taskbar button).
  virtual void hide_application_window() = 0;
  // Posts a private message to this window; handle_user_message receives it later.
  virtual void post_user_message(uint32_t message) = 0;
  // Closes the window: handle_close runs, then the application's loop ends.
  virtual void close() = 0;
  virtual void release_capture() = 0;
  // The system's window handle as an integer, for the calls that take one.
  virtual intptr_t native_handle() const = 0;
};

}  // namespace ss
