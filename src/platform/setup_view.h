#pragma once
// The setup dialog as a backend shows it: a window with two address labels, two more labels,
// the mute check box and the OK button. The backend draws the designed layout and reports what
// the user does; the dialog's logic sets the captions and the box.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "gfx/color.h"
#include "gfx/geometry.h"

namespace ss {

// The dialog's controls that carry a caption, in the order the language texts are applied.
enum class SetupControl : uint8_t { lblTitle, lblAuthor, lblEmail, lblWeb, OKButton, cbMute };

// The dialog as designed, as data: the backend builds its window from it. Positions are left,
// top within the parent; labels size themselves to their text, so theirs carry no extent.
inline constexpr Color kClBlue = 0xFF0000;

struct SetupFont {
  std::string_view face;
  int32_t height = -11;  // negative: the character height in pixels
  bool bold = false;
  bool underline = false;
  Color color = kClWindowText;
};

enum class SetupControlKind : uint8_t { kPanel, kLabel, kCheckBox, kButton };
enum class SetupAlign : uint8_t { kNone, kTop, kBottom };

struct SetupControlLayout {
  std::string_view name;  // empty for the unnamed information panel
  SetupControlKind kind = SetupControlKind::kLabel;
  int parent = -1;  // index of the parent panel in the control list, -1 for the form
  SetupAlign align = SetupAlign::kNone;
  // Aligned panels: only the height counts, the width follows the form.
  Rect bounds;
  std::string_view caption;
  SetupFont font;
  bool transparent = false;  // labels: the panel shows through
  int tab_order = -1;        // -1 for controls that take no focus
  std::optional<SetupControl> control;
  // The pointer entering or leaving the label turns the cursor to the hand and back; a click
  // opens the caption.
  bool opens_caption = false;
};

struct SetupDialogLayout {
  std::string_view caption;
  int32_t client_width = 0;
  int32_t client_height = 0;
  Color color = 0;  // the form's, also shown by the panels and transparent labels
  SetupFont font;
  // No title-bar buttons at all: OK is the way out. The frame is the ordinary sizeable one and
  // the dialog opens in the centre of the screen.
  bool system_menu = false;
  bool sizeable = true;
  bool screen_centre = true;
  std::span<const SetupControlLayout> controls;
};

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
