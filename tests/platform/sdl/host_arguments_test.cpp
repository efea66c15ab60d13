// The Linux runtime's own arguments and the X screen-saver daemon's conventions, taken apart
// from the saver's Windows-style command line.
#include "main/linux/host_arguments.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace ss {
namespace {

using Args = std::vector<std::string>;

struct Case {
  const char* name;
  Args args;
  std::optional<std::string_view> daemon_window;
  HostSurface surface;
  uint32_t window = 0;
  Point size;
  Args saver_args;
};

class HostArgumentsTest : public ::testing::TestWithParam<Case> {};

TEST_P(HostArgumentsTest, SplitsHostAndSaverArguments) {
  const Case& c = GetParam();
  const HostArguments parsed = parse_host_arguments(c.args, c.daemon_window);
  EXPECT_EQ(parsed.surface, c.surface);
  if (c.surface == HostSurface::kForeignWindow) {
    EXPECT_EQ(parsed.foreign_window, c.window);
  }
  if (c.surface == HostSurface::kWindow) {
    EXPECT_EQ(parsed.window_size, c.size);
  }
  EXPECT_EQ(parsed.saver_args, c.saver_args);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostArgumentsTest,
    ::testing::Values(
        // The saver's own switches pass through untouched; nothing at all opens the setup.
        Case{"NoArguments", {}, {}, HostSurface::kFullscreen, 0, {}, {}},
        Case{"ShowSwitch", {"/s"}, {}, HostSurface::kFullscreen, 0, {}, {"/s"}},
        Case{"Configure", {"-c"}, {}, HostSurface::kFullscreen, 0, {}, {"-c"}},
        // The daemon's switches draw the show into a given window, whatever else is asked.
        Case{"Root", {"-root"}, {}, HostSurface::kRootWindow, 0, {}, {"/s"}},
        Case{"RootDoubleDash", {"--root", "-c"}, {}, HostSurface::kRootWindow, 0, {}, {"/s"}},
        Case{"WindowIdHex",
             {"-window-id", "0x1e00007"},
             {},
             HostSurface::kForeignWindow,
             0x1e00007,
             {},
             {"/s"}},
        Case{"WindowIdDecimal",
             {"--window-id=4242"},
             {},
             HostSurface::kForeignWindow,
             4242,
             {},
             {"/s"}},
        Case{"GivenWindowBeatsPlainWindow",
             {"--window", "640x480", "-root"},
             {},
             HostSurface::kRootWindow,
             0,
             {},
             {"/s"}},
        // The environment names the daemon's window for a show, not for other modes.
        Case{"DaemonWindowNoArguments",
             {},
             "0x2a00003",
             HostSurface::kForeignWindow,
             0x2a00003,
             {},
             {"/s"}},
        Case{"DaemonWindowWithShow", {"/S"}, "77", HostSurface::kForeignWindow, 77, {}, {"/s"}},
        Case{"DaemonWindowIgnoredForSetup",
             {"/c"},
             "0x2a00003",
             HostSurface::kFullscreen,
             0,
             {},
             {"/c"}},
        Case{"DaemonWindowMalformed", {"/s"}, "zero", HostSurface::kFullscreen, 0, {}, {"/s"}},
        Case{"RootIsTheDaemonsWindow",
             {"-root"},
             "0x2a00003",
             HostSurface::kForeignWindow,
             0x2a00003,
             {},
             {"/s"}},
        Case{"SwitchWindowBeatsDaemonWindow",
             {"-window-id", "9"},
             "0x2a00003",
             HostSurface::kForeignWindow,
             9,
             {},
             {"/s"}},
        // A plain window shows, unless the saver is asked for something else.
        Case{"PlainWindow",
             {"--window", "800x600"},
             {},
             HostSurface::kWindow,
             0,
             {800, 600},
             {"/s"}},
        Case{"PlainWindowInline",
             {"/s", "--window=1280X720"},
             {},
             HostSurface::kWindow,
             0,
             {1280, 720},
             {"/s"}},
        Case{"PlainWindowSetup",
             {"--window", "320x200", "/c"},
             {},
             HostSurface::kWindow,
             0,
             {320, 200},
             {"/c"}},
        // The preview's handle may come in hexadecimal; the saver reads decimal.
        Case{"PreviewHex", {"-p", "0x1A"}, {}, HostSurface::kFullscreen, 0, {}, {"-p", "26"}},
        Case{"PreviewDecimal", {"/p", "1234"}, {}, HostSurface::kFullscreen, 0, {}, {"/p", "1234"}},
        Case{"NotPreviewKeepsHex",
             {"/s", "0x1A"},
             {},
             HostSurface::kFullscreen,
             0,
             {},
             {"/s", "0x1A"}}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

TEST(HostArguments, MalformedValuesAreRefused) {
  const std::vector<Args> bad = {
      {"-window-id"},
      {"-window-id", "0"},
      {"-window-id", "0x"},
      {"-window-id", "12abc"},
      {"-window-id", "-5"},
      {"-window-id", "0x80000000"},
      {"--window"},
      {"--window", "800"},
      {"--window", "0x600"},
      {"--window", "800x600x"},
      {"--window", "20000x100"},
      {"--window", "x600"},
  };
  for (const Args& args : bad) {
    EXPECT_THROW(parse_host_arguments(args, std::nullopt), SaverError) << args.back();
  }
}

TEST(HostArguments, WindowIdsFitTheSaversHandles) {
  EXPECT_EQ(parse_window_id("0x7fffffff"), 0x7FFFFFFFu);
  EXPECT_EQ(parse_window_id("0X10"), 16u);
  EXPECT_EQ(parse_window_id("2147483648"), std::nullopt);
  EXPECT_EQ(parse_window_id(""), std::nullopt);
  EXPECT_EQ(parse_window_id("+5"), std::nullopt);
}

}  // namespace
}  // namespace ss
