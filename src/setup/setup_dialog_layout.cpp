#include "setup/setup_dialog_layout.h"

#include <array>
#include <stdexcept>

namespace ss {
namespace {

constexpr std::string_view kFace = "MS Sans Serif";
constexpr SetupFont kFormFont{.face = kFace};
constexpr SetupFont kTitleFont{.face = kFace, .height = -13, .bold = true};
constexpr SetupFont kAddressFont{.face = kFace, .underline = true, .color = kClBlue};

constexpr int kInfoPanel = 0;
constexpr int kButtonPanel = 6;

constexpr std::array<SetupControlLayout, 8> kControls = {{
    {.kind = SetupControlKind::kPanel,
     .align = SetupAlign::kTop,
     .bounds = {0, 0, 305, 145},
     .font = kFormFont},
    {.name = "lblTitle",
     .parent = kInfoPanel,
     .bounds = {29, 23, 29, 23},
     .caption = "Title:",
     .font = kTitleFont,
     .transparent = true,
     .control = SetupControl::lblTitle},
    {.name = "lblAuthor",
     .parent = kInfoPanel,
     .bounds = {29, 44, 29, 44},
     .caption = "Author:",
     .font = kFormFont,
     .transparent = true,
     .control = SetupControl::lblAuthor},
    {.name = "cbMute",
     .kind = SetupControlKind::kCheckBox,
     .parent = kInfoPanel,
     .bounds = {24, 72, 24 + 97, 72 + 17},
     .caption = "Mute music",
     .font = kFormFont,
     .tab_order = 0,
     .control = SetupControl::cbMute},
    {.name = "lblEmail",
     .parent = kInfoPanel,
     .bounds = {29, 106, 29, 106},
     .caption = "Email:",
     .font = kAddressFont,
     .transparent = true,
     .control = SetupControl::lblEmail,
     .opens_caption = true},
    {.name = "lblWeb",
     .parent = kInfoPanel,
     .bounds = {29, 127, 29, 127},
     .caption = "Web address:",
     .font = kAddressFont,
     .transparent = true,
     .control = SetupControl::lblWeb,
     .opens_caption = true},
    {.name = "Panel1",
     .kind = SetupControlKind::kPanel,
     .align = SetupAlign::kBottom,
     .bounds = {0, 145, 305, 200},
     .font = kFormFont},
    {.name = "OKButton",
     .kind = SetupControlKind::kButton,
     .parent = kButtonPanel,
     .bounds = {216, 16, 216 + 75, 16 + 25},
     .caption = "&Ok",
     .font = kFormFont,
     .tab_order = 1,
     .control = SetupControl::OKButton},
}};

// The two panels are all the client area holds: 145 above, 55 below.
constexpr SetupDialogLayout kLayout{.caption = "Setup []",
                                    .client_width = 305,
                                    .client_height = 145 + 55,
                                    .color = 15202303,
                                    .font = kFormFont,
                                    .controls = kControls};

}  // namespace

const SetupDialogLayout& setup_dialog_layout() {
  return kLayout;
}

std::string_view designed_caption(SetupControl control) {
  for (const SetupControlLayout& c : kControls)
    if (c.control == control) return c.caption;
  throw std::logic_error("setup control without a layout");
}

}  // namespace ss
