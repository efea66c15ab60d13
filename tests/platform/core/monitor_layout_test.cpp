// Which monitors the show covers, and where, from the system's list.
#include "platform/core/monitor_layout.h"

#include <gtest/gtest.h>

namespace ss {
namespace {

TEST(MonitorLayout, OthersMoveToTheShowsCoordinatesAndOverlapsOrRepeatsGetNoCover) {
  struct Case {
    const char* name;
    std::vector<Rect> screens;
    Rect primary;
    std::vector<Rect> others;
  };
  const std::vector<Case> cases = {
      {"none", {}, {}, {}},
      {"one", {{0, 0, 1024, 768}}, {0, 0, 1024, 768}, {}},
      {"two side by side",
       {{0, 0, 1024, 768}, {1024, 0, 1824, 600}},
       {0, 0, 1024, 768},
       {{1024, 0, 1824, 600}}},
      {"primary on the right: the other lies at negative x",
       {{800, 0, 1824, 768}, {0, 0, 800, 600}},
       {800, 0, 1824, 768},
       {{-800, 0, 0, 600}}},
      {"a mirror of the primary and a smaller clone inside it",
       {{0, 0, 1920, 1080}, {0, 0, 1920, 1080}, {0, 0, 1280, 720}},
       {0, 0, 1920, 1080},
       {}},
      {"a monitor listed twice, and an empty one",
       {{0, 0, 100, 100}, {0, 100, 100, 200}, {0, 100, 100, 200}, {300, 0, 300, 50}},
       {0, 0, 100, 100},
       {{0, 100, 100, 200}}},
  };
  for (const Case& c : cases) {
    const MonitorLayout layout = arrange_monitors(c.screens);
    EXPECT_EQ(layout.primary, c.primary) << c.name;
    EXPECT_EQ(layout.others, c.others) << c.name;
  }
}

}  // namespace
}  // namespace ss
