// The designed dialog as data: every control the logic names is placed once, inside its parent,
// and the two panels make up the whole client area.
#include <gtest/gtest.h>

#include "config/setup_dialog_layout.h"

namespace ss {
namespace {

TEST(SetupLayoutTest, ControlsSitInsideTheirPanelsAndThePanelsFillTheClientArea) {
  const SetupDialogLayout& layout = setup_dialog_layout();
  int32_t top_panels = 0;
  int32_t bottom_panels = 0;
  for (const SetupControlLayout& c : layout.controls) {
    if (c.kind == SetupControlKind::kPanel) {
      EXPECT_EQ(c.parent, -1);
      (c.align == SetupAlign::kTop ? top_panels : bottom_panels) += c.bounds.height();
      continue;
    }
    ASSERT_GE(c.parent, 0) << c.name;
    const SetupControlLayout& panel = layout.controls[static_cast<size_t>(c.parent)];
    ASSERT_EQ(panel.kind, SetupControlKind::kPanel) << c.name;
    EXPECT_LE(c.bounds.right, layout.client_width) << c.name;
    EXPECT_LE(c.bounds.bottom, panel.bounds.height()) << c.name;
  }
  EXPECT_EQ(top_panels, 145);
  EXPECT_EQ(bottom_panels, 55);
  EXPECT_EQ(top_panels + bottom_panels, layout.client_height);
}

TEST(SetupLayoutTest, EveryCaptionedControlIsPlacedOnce) {
  for (SetupControl control : {SetupControl::lblTitle, SetupControl::lblAuthor,
                               SetupControl::lblEmail, SetupControl::lblWeb,
                               SetupControl::OKButton, SetupControl::cbMute}) {
    int placed = 0;
    for (const SetupControlLayout& c : setup_dialog_layout().controls) placed += c.control == control;
    EXPECT_EQ(placed, 1) << static_cast<int>(control);
  }
  // Only the two address labels open their text.
  for (const SetupControlLayout& c : setup_dialog_layout().controls)
    EXPECT_EQ(c.opens_caption,
              c.control == SetupControl::lblEmail || c.control == SetupControl::lblWeb)
        << c.name;
}

}  // namespace
}  // namespace ss
