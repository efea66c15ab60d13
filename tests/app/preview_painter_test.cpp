// Preview mode on the headless preview window (152 x 112 pixels at 200,300 by default).
#include "app/preview_painter.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/saver_scratch.h"
#include "base/error.h"
#include "platform/headless/headless_platform.h"

namespace ss {
namespace {

using ss_test::SaverScratch;

constexpr Color kRed = rgb(255, 0, 0);
constexpr Color kBlue = rgb(0, 0, 255);
constexpr const char* kWindow = "20816";  // the configured preview window, 0x5150

TEST(PreviewPainterTest, StretchesTheFirstPictureFromTheTopLeftCorner) {
  SaverScratch scratch;
  const std::string saver =
      scratch.build({ss_test::halves(40, 30, kRed, kBlue), ss_test::solid(10, 10, kWhite)}, {});
  HeadlessConfig config = scratch.config(saver);
  config.preview_visible_polls = 2;
  HeadlessPlatform platform(config);
  run_preview_painter(kWindow, platform);

  EXPECT_EQ(platform.log().texts(), std::vector<std::string>{"preview.draw 20816 153x113"});
  const Bitmap24& window = platform.headless_preview().image();
  ASSERT_EQ(window.width(), 152);
  EXPECT_EQ(window.pixel(0, 0), kRed);
  EXPECT_EQ(window.pixel(70, 111), kRed);
  EXPECT_EQ(window.pixel(82, 0), kBlue);
  EXPECT_EQ(window.pixel(151, 111), kBlue);
}

struct VisibilityCase {
  const char* name;
  uint32_t hidden_polls;
  std::optional<uint32_t> visible_polls;
  std::optional<uint64_t> visible_until_ms;
  int polls;         // every look at the window, the one that found it gone included
  uint64_t ends_at;  // virtual time at the end
};

class PreviewVisibility : public testing::TestWithParam<VisibilityCase> {};

// The picture is drawn once, after the window first shows; the painter ends at the first poll
// after the window has gone, and waits kPreviewPollMs between polls instead of spinning.
TEST_P(PreviewVisibility, DrawsOnceAndEndsAtTheFirstPollAfterTheWindowWent) {
  const VisibilityCase& c = GetParam();
  SaverScratch scratch;
  HeadlessConfig config = scratch.config(scratch.build({ss_test::solid(20, 20, kRed)}, {}));
  config.preview_hidden_polls = c.hidden_polls;
  config.preview_visible_polls = c.visible_polls;
  config.preview_visible_until_ms = c.visible_until_ms;
  HeadlessPlatform platform(config);
  run_preview_painter(kWindow, platform);

  const bool drawn = c.hidden_polls * kPreviewPollMs < kPreviewAppearLimitMs;
  EXPECT_EQ(platform.headless_preview().draws(), drawn ? 1 : 0);
  EXPECT_EQ(platform.headless_preview().polls(), c.polls);
  EXPECT_EQ(platform.now_ms(), c.ends_at);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, PreviewVisibility,
    testing::Values(VisibilityCase{"GoneAfterOneLook", 0, 1, {}, 2, 0},
                    VisibilityCase{"VisibleForFivePolls", 0, 5, {}, 6, 4 * kPreviewPollMs},
                    VisibilityCase{"ShowsLate", 3, 2, {}, 6, 4 * kPreviewPollMs},
                    VisibilityCase{"VisibleForOneSecond", 0, {}, 1000, 22, 1000},
                    // A window that never shows is given up after the appear limit.
                    VisibilityCase{"NeverShows", 1'000'000, {}, {}, 201, kPreviewAppearLimitMs}),
    [](const testing::TestParamInfo<VisibilityCase>& param) { return param.param.name; });

struct BrokenPackageCase {
  const char* name;
  // Writes the executable into the scratch folder and returns its path.
  std::string (*make)(const SaverScratch& scratch);
};

class PreviewOfBrokenPackage : public testing::TestWithParam<BrokenPackageCase> {};

// Nothing is drawn and the painter gives up at once: its error ends the process silently.
TEST_P(PreviewOfBrokenPackage, DrawsNothing) {
  SaverScratch scratch;
  HeadlessConfig config = scratch.config(GetParam().make(scratch));
  config.preview_visible_polls = 100;
  HeadlessPlatform platform(config);
  try {
    run_preview_painter(kWindow, platform);
  } catch (const std::exception&) {
    // Errors belong to the entry, which swallows them.
  }
  EXPECT_EQ(platform.headless_preview().draws(), 0);
  EXPECT_EQ(platform.headless_preview().polls(), 1);
  EXPECT_EQ(platform.now_ms(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Packages, PreviewOfBrokenPackage,
    testing::Values(
        BrokenPackageCase{"MusicFirst",
                          [](const SaverScratch& s) {
                            return s.build({}, {}, {std::string("MThd\0\0\0\6", 8)});
                          }},
        BrokenPackageCase{"SettingsFirst", [](const SaverScratch& s) { return s.build({}, {}); }},
        BrokenPackageCase{"NoPackage",
                          [](const SaverScratch& s) {
                            s.write("bare.scr", std::string(4096, '\x90'));
                            return s.path("bare.scr");
                          }},
        BrokenPackageCase{"ShorterThanATrailer",
                          [](const SaverScratch& s) {
                            s.write("tiny.scr", "MZ");
                            return s.path("tiny.scr");
                          }},
        BrokenPackageCase{"Missing", [](const SaverScratch& s) { return s.path("gone.scr"); }}),
    [](const testing::TestParamInfo<BrokenPackageCase>& param) { return param.param.name; });

TEST(PreviewPainterTest, AHandleThatIsNoNumberFailsBeforeAnyPoll) {
  HeadlessPlatform platform;
  EXPECT_THROW(run_preview_painter("", platform), SaverError);
  EXPECT_THROW(run_preview_painter("0X5150", platform), SaverError);
  EXPECT_EQ(platform.headless_preview().polls(), 0);
}

}  // namespace
}  // namespace ss
