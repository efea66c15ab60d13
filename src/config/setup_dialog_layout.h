#pragma once
// The setup dialog as designed, as data: the backends build their window from it, and the
// dialog's logic takes the designed captions from it. Positions are left, top within the
// parent; labels size themselves to their text, so theirs carry no extent.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "base/color.h"
#include "base/geometry.h"
#include "package/font.h"
#include "platform/setup_view.h"

namespace ss {

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

const SetupDialogLayout& setup_dialog_layout();

// The caption a control has before any language text or setting replaces it.
std::string_view designed_caption(SetupControl control);

}  // namespace ss
