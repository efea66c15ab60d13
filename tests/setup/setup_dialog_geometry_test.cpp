// Where a backend places the setup dialog: the aligned panels when the frame is resized, the
// self-sizing labels, and the window in the centre of the screen.
#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include "platform/core/setup_geometry.h"
#include "setup/setup_dialog_layout.h"

namespace ss {
namespace {

size_t index_of(std::string_view name) {
  const auto& controls = setup_dialog_layout().controls;
  for (size_t i = 0; i < controls.size(); ++i)
    if (controls[i].name == name) return i;
  ADD_FAILURE() << "no control " << name;
  return 0;
}

TEST(SetupDialogGeometry, PanelsFollowTheClientAreaAndControlsKeepTheirPlace) {
  const SetupDialogLayout& layout = setup_dialog_layout();
  const Point designed{layout.client_width, layout.client_height};
  struct Case {
    std::string_view control;  // empty: the unnamed information panel
    Point client;
    Point text;
    Rect expected;
  };
  const Case cases[] = {
      {"", designed, {}, {0, 0, 305, 145}},
      {"Panel1", designed, {}, {0, 145, 305, 200}},
      // A larger frame: the bottom panel moves down, both stretch across.
      {"", {400, 300}, {}, {0, 0, 400, 145}},
      {"Panel1", {400, 300}, {}, {0, 245, 400, 300}},
      // A frame lower than both panels: the top one is cut, the bottom one stays whole.
      {"", {305, 100}, {}, {0, 0, 305, 100}},
      {"Panel1", {305, 100}, {}, {0, 45, 305, 100}},
      {"Panel1", {305, 30}, {}, {0, 0, 305, 30}},
      // Other controls stay where they were designed, whatever the frame.
      {"cbMute", {400, 300}, {50, 50}, {24, 72, 121, 89}},
      {"OKButton", designed, {}, {216, 16, 291, 41}},
      // Labels take their text's size from their designed corner.
      {"lblTitle", designed, {83, 16}, {29, 23, 112, 39}},
      {"lblWeb", {400, 300}, {120, 13}, {29, 127, 149, 140}},
      // A label without text has no area to point at.
      {"lblEmail", designed, {}, {29, 106, 29, 106}},
      {"lblEmail", designed, {0, 13}, {29, 106, 29, 106}},
  };
  for (const Case& c : cases) {
    const Rect got = setup_control_bounds(layout, index_of(c.control), c.client, c.text);
    EXPECT_EQ(got, c.expected) << "control '" << c.control << "' in " << c.client.x << "x"
                               << c.client.y;
  }
  EXPECT_THROW(setup_control_bounds(layout, layout.controls.size(), designed), std::out_of_range);
}

TEST(SetupDialogGeometry, EveryControlFitsItsPanelAtTheDesignedSize) {
  const SetupDialogLayout& layout = setup_dialog_layout();
  const Point designed{layout.client_width, layout.client_height};
  // A generous caption, as wide as a long address.
  const Point text{200, 13};
  for (size_t i = 0; i < layout.controls.size(); ++i) {
    const SetupControlLayout& control = layout.controls[i];
    if (control.parent < 0) continue;
    const Rect parent = setup_control_bounds(layout, static_cast<size_t>(control.parent), designed);
    const Rect own = setup_control_bounds(layout, i, designed, text);
    EXPECT_GE(own.left, 0) << control.name;
    EXPECT_GE(own.top, 0) << control.name;
    EXPECT_LE(own.bottom, parent.height()) << control.name;
    if (control.kind != SetupControlKind::kLabel) {
      EXPECT_LE(own.right, parent.width()) << control.name;
    }
  }
}

TEST(SetupDialogGeometry, WindowIsCentredAndStaysReachable) {
  struct Case {
    Point window;
    Point screen;
    Point expected;
  };
  const Case cases[] = {
      {{313, 227}, {1024, 768}, {355, 270}},
      {{320, 240}, {640, 480}, {160, 120}},
      {{640, 480}, {640, 480}, {0, 0}},
      // Larger than the screen: the caption must stay on it.
      {{2000, 300}, {1024, 768}, {0, 234}},
      {{300, 1000}, {1024, 768}, {362, 0}},
  };
  for (const Case& c : cases) {
    const Point got = centred_window_origin(c.window, c.screen);
    EXPECT_EQ(got, c.expected) << c.window.x << "x" << c.window.y << " on " << c.screen.x << "x"
                               << c.screen.y;
  }
}

TEST(SetupDialogGeometry, AtTwiceTheResolutionEverythingIsTwiceAsLarge) {
  const SetupDialogLayout& layout = setup_dialog_layout();
  const Point client{scaled_for_dpi(layout.client_width, 192),
                     scaled_for_dpi(layout.client_height, 192)};
  EXPECT_EQ(client, (Point{610, 400}));
  EXPECT_EQ(setup_control_bounds(layout, index_of(""), client, {}, 192), (Rect{0, 0, 610, 290}));
  EXPECT_EQ(setup_control_bounds(layout, index_of("Panel1"), client, {}, 192),
            (Rect{0, 290, 610, 400}));
  EXPECT_EQ(setup_control_bounds(layout, index_of("OKButton"), client, {}, 192),
            (Rect{432, 32, 582, 82}));
  EXPECT_EQ(setup_control_bounds(layout, index_of("cbMute"), client, {}, 192),
            (Rect{48, 144, 242, 178}));
  // A label's size is its text's, measured in the font for that resolution already.
  EXPECT_EQ(setup_control_bounds(layout, index_of("lblAuthor"), client, {80, 26}, 192),
            (Rect{58, 88, 138, 114}));
  // 150 %: halves round away from zero, as everywhere else.
  EXPECT_EQ(setup_control_bounds(layout, index_of("lblTitle"), {}, {10, 10}, 144),
            (Rect{44, 35, 54, 45}));
  EXPECT_EQ(scaled_for_dpi(305, 120), 381);
  EXPECT_EQ(scaled_for_dpi(55, 96), 55);
}

}  // namespace
}  // namespace ss
