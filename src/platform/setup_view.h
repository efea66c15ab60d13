#pragma once
// The setup dialog as a backend shows it: a window with two address labels, two more labels,
// the mute check box and the OK button. The backend draws the designed layout and reports what
// the user does; the dialog's logic sets the captions and the box.
#include <cstdint>
#include <string>

namespace ss {

// The dialog's controls that carry a caption, in the order the language texts are applied.
enum class SetupControl : uint8_t { lblTitle, lblAuthor, lblEmail, lblWeb, OKButton, cbMute };

// What the dialog's logic receives. Handlers run on the GUI thread.
class SetupEvents {
 public:
  // The dialog has become visible.
  virtual void handle_show() = 0;
  // The user changed the box; checked() already gives the new state.
  virtual void handle_mute_click() = 0;
  virtual void handle_ok_click() = 0;
  // An address label (lblEmail or lblWeb) was clicked, entered or left by the pointer. A label
  // without text has no area, so it receives none of these.
  virtual void handle_label_click(SetupControl label) = 0;
  virtual void handle_label_enter(SetupControl label) = 0;
  virtual void handle_label_leave(SetupControl label) = 0;

 protected:
  ~SetupEvents() = default;
};

class SetupView {
 public:
  virtual ~SetupView() = default;
  virtual void set_events(SetupEvents* events) = 0;

  virtual void set_window_caption(const std::string& caption) = 0;
  virtual std::string window_caption() const = 0;
  virtual void set_caption(SetupControl control, const std::string& caption) = 0;
  virtual std::string caption(SetupControl control) const = 0;
  // Setting the box by program reports no click.
  virtual void set_checked(bool checked) = 0;
  virtual bool checked() const = 0;

  // Shows the dialog centred on the screen; handle_show runs before this returns.
  virtual void show() = 0;
  virtual bool visible() const = 0;
  // Closes the dialog, which ends the application's loop: the dialog is the main window.
  virtual void close() = 0;
  // The system's window handle, the owner of what the dialog opens.
  virtual intptr_t native_handle() const = 0;
};

}  // namespace ss
