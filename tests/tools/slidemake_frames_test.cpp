// The authoring previews: frames composed by the runtime's engine from picture files.
#include <gtest/gtest.h>

#include "common/bmp_encoder.h"
#include "package/png_codec.h"
#include "slidemake/commands.h"
#include "support/saver_fixture.h"

namespace slidemake {
namespace {

using slidemake_test::ScratchDir;

ss::Bitmap24 solid(int w, int h, ss::Color c) {
  ss::Bitmap24 b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.set_pixel(x, y, c);
  return b;
}

TEST(SlidemakeFrames, FrameShowsTheStyleGeometryOfTheRealEngine) {
  ScratchDir dir;
  dir.write("old.bmp", ss::encode_bmp(solid(40, 20, ss::rgb(255, 0, 0))));
  dir.write("new.bmp", ss::encode_bmp(solid(40, 20, ss::rgb(0, 0, 255))));
  // Style 5 wipes from the left: at 50% the left half is new, the right half old.
  ASSERT_EQ(run_frame({"--style", "5", "--progress", "50", "--old", dir.path("old.bmp"), "--new",
                       dir.path("new.bmp"), "-o", dir.path("f.png")}),
            0);
  const ss::Bitmap24 frame = ss::decode_png(dir.read("f.png")).pixels;
  ASSERT_EQ(frame.width(), 40);
  EXPECT_EQ(frame.pixel(19, 10), ss::rgb(0, 0, 255));
  EXPECT_EQ(frame.pixel(20, 10), ss::rgb(255, 0, 0));
}

TEST(SlidemakeFrames, DifferentSizesNeedAnExplicitSize) {
  ScratchDir dir;
  dir.write("old.bmp", ss::encode_bmp(solid(40, 20, 0)));
  dir.write("new.bmp", ss::encode_bmp(solid(30, 20, 0)));
  const Args args = {"--style",           "5",     "--progress",        "50", "--old",
                     dir.path("old.bmp"), "--new", dir.path("new.bmp"), "-o", dir.path("f.png")};
  try {
    run_frame(args);
    FAIL();
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("--size"), std::string::npos) << e.what();
  }
  Args sized = args;
  sized.insert(sized.end(), {"--size", "16x8"});
  EXPECT_EQ(run_frame(sized), 0);
  EXPECT_EQ(ss::decode_png(dir.read("f.png")).pixels.width(), 16);
}

TEST(SlidemakeFrames, TransitionWritesEveryStepAndCatalogueEveryStyle) {
  ScratchDir dir;
  dir.write("old.bmp", ss::encode_bmp(solid(16, 8, 0)));
  dir.write("new.bmp", ss::encode_bmp(solid(16, 8, ss::kWhite)));
  ASSERT_EQ(run_transition({"--style", "127", "--step", "25", "--old", dir.path("old.bmp"), "--new",
                            dir.path("new.bmp"), "-o", dir.path("frames")}),
            0);
  // 0, 25, 50, 75 and 100; the last shows the new picture whole.
  EXPECT_TRUE(std::filesystem::exists(dir.path("frames/frame-004.png")));
  EXPECT_FALSE(std::filesystem::exists(dir.path("frames/frame-005.png")));
  EXPECT_EQ(ss::decode_png(dir.read("frames/frame-004.png")).pixels, solid(16, 8, ss::kWhite));

  ASSERT_EQ(run_catalogue({"-o", dir.path("sheet.png"), "--size", "20x10"}), 0);
  const ss::Bitmap24 sheet = ss::decode_png(dir.read("sheet.png")).pixels;
  EXPECT_EQ(sheet.width(), 12 * 24 + 4);  // 12 columns of 20 + 4 pixels
}

}  // namespace
}  // namespace slidemake
