#pragma once
// The show window's logic, which every backend shares: it hosts one control, batches paints,
// tracks the pointer over the control, routes input the way the system would, shows then
// activates, and closes. A backend supplies the native window as a NativeSurface and turns its
// system's events into the calls of the "events from the backend" section.
//
// Painting composes the client area in the surface's image: the form's colour where the
// control does not cover the painted area (all of it after the colour, the size or the
// visibility changed), then the control clipped to that area; then the surface presents the
// painted area. Where the surface keeps the invalid area itself (a system's paint message),
// invalidations go to it and it reports the area to paint; otherwise one posted message paints
// every invalidation made before it runs, and a hidden or closed window paints nothing.
//
// Input: keys go to the form unless a covering child (a movie control's window) is visible;
// a move over the control goes to the control, elsewhere in the client area to the form; a
// button goes to the control, and a press where no control lies to the form. Areas under a
// visible covering child take no pointer input.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gfx/bitmap24.h"
#include "platform/show_window.h"

namespace ss {

// A window of someone else placed over the form's client area, which takes the input there.
class CoveringChild {
 public:
  virtual bool visible() const = 0;
  // In the form's client coordinates.
  virtual Rect bounds() const = 0;

 protected:
  ~CoveringChild() = default;
};

class NativeSurface {
 public:
  using Task = std::function<void()>;

  // Where the form window is shown from, relative to the activation of the form.
  enum class ShowStage : uint8_t {
    kBeforeShowHandler,  // before the form's handle_show
    kBeforeActivation,   // after handle_show, before handle_activate
    kAfterActivation,    // after both, when the window is still open
  };

  // The bitmap the client area is composed in, and where the client's top-left lies in it.
  virtual Bitmap24& client_image() = 0;
  virtual Point client_origin() const { return {0, 0}; }
  // Shows the part `changed` (client coordinates) of the client image on the screen.
  virtual void present(const Rect& changed) = 0;

  // The window moved or changed size (screen coordinates); the client image follows the size.
  virtual void place(const Rect& screen_rect) = 0;
  // Called at every stage of a show; a surface makes the window visible at one of them.
  virtual void show_native(ShowStage stage) = 0;
  // The window has closed: hide it and tell the application.
  virtual void window_closed() = 0;
  virtual void raise_topmost() = 0;
  virtual void release_mouse_capture() = 0;
  // Asks the system to report the pointer leaving the window.
  virtual void track_leave() {}
  virtual intptr_t window_handle() const = 0;

  // Runs task later on the GUI thread as a message that reports its own error.
  virtual void post(Task task) = 0;
  // Where the system's queue carries private messages: posts one there and returns true; the
  // surface hands it to FormWindow::user_message when it arrives.
  virtual bool post_system_message(uint32_t /*message*/) { return false; }

  // True where the system keeps the invalid area and sends its own paint message, which the
  // surface answers with FormWindow::paint_area.
  virtual bool system_paints() const { return false; }
  virtual void invalidate_system(const Rect& /*client_area*/) {}
  virtual void update_system() {}

 protected:
  ~NativeSurface() = default;
};

class FormWindow : public ShowWindow {
 public:
  explicit FormWindow(NativeSurface& surface);
  ~FormWindow() override;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  // ControlHost.
  void attach(HostedControl* control) override;
  Rect parent_client_rect() const override { return {0, 0, bounds_.width(), bounds_.height()}; }
  void invalidate(const Rect& parent_rect) override;
  void repaint_now() override;
  bool design_time() const override { return false; }

  // ShowWindow.
  void set_events(FormEvents* events) override { events_ = events; }
  void set_bounds(const Rect& screen_rect) override;
  Rect bounds() const override { return bounds_; }
  void set_color(Color color) override;
  void set_topmost() override { surface_.raise_topmost(); }
  void show() override;
  bool visible() const override { return visible_; }
  void hide_application_window() override {}
  void post_user_message(uint32_t message) override;
  void close() override;
  void release_capture() override { surface_.release_mouse_capture(); }
  intptr_t native_handle() const override { return surface_.window_handle(); }

  bool closing() const { return closing_; }
  bool closed() const { return closed_; }
  bool paint_pending() const { return paint_pending_; }
  Color color() const { return color_; }
  HostedControl* control() const { return control_; }
  bool takes_input() const { return visible_ && !closed_; }

  void add_covering_child(const CoveringChild* child) { children_.push_back(child); }
  void remove_covering_child(const CoveringChild* child) { std::erase(children_, child); }

  // Events from the backend. Positions are client coordinates.
  void key_down(uint32_t key, uint32_t shift);
  void mouse_move(Point client, uint32_t shift);
  void mouse_button(bool down, MouseButton button, Point client, uint32_t shift);
  void mouse_left() { set_control_hovered(false); }
  // The system activated the window (not the activation of show(), which the core runs).
  void activated();
  void user_message(uint32_t message);
  // The system's paint message for `area` (client coordinates, inside the client area).
  void paint_area(const Rect& area);
  // The system destroyed the window behind the form's back: closed from now on.
  void destroyed();

 private:
  bool covered_by_child(Point client) const;
  bool any_child_visible() const;
  void set_control_hovered(bool hovered);
  void request_paint(const Rect& area);
  void schedule_paint();
  void paint_batch();
  // Posts task so that it runs only while this window lives.
  void post_while_alive(NativeSurface::Task task);

  NativeSurface& surface_;
  FormEvents* events_ = nullptr;
  HostedControl* control_ = nullptr;
  std::vector<const CoveringChild*> children_;
  Rect bounds_;
  Color color_ = static_cast<Color>(0xFF00000Fu);  // the system's face colour
  bool visible_ = false;
  bool closing_ = false;
  bool closed_ = false;
  bool showing_ = false;  // show() runs the form's activation itself
  bool background_dirty_ = true;
  bool paint_pending_ = false;
  bool control_hovered_ = false;
  // Messages still queued for this window check it before they touch the window.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ss
