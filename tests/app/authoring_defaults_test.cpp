// A saver made from a manifest that names only its pictures: the authoring settings must give
// a show that moves on to the next picture and ends when a key is pressed.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/saver_entry.h"
#include "app/saver_scratch.h"
#include "platform/headless/headless_platform.h"
#include "show/saver_mode.h"
#include "slidemake/manifest.h"

namespace ss {
namespace {

using ss_test::SaverScratch;

TEST(AuthoringDefaults, APicturesOnlyManifestMovesOnAndEndsOnAKey) {
  SaverScratch scratch;
  const std::vector<uint8_t> red = encode_bmp(ss_test::solid(40, 30, rgb(255, 0, 0)));
  const std::vector<uint8_t> blue = encode_bmp(ss_test::solid(40, 30, rgb(0, 0, 255)));
  scratch.write("red.bmp", std::string(red.begin(), red.end()));
  scratch.write("blue.bmp", std::string(blue.begin(), blue.end()));
  scratch.write("m.json", R"({"pictures": ["red.bmp", "blue.bmp"]})");
  scratch.write("runtime.bin", std::string(4096, '\x90'));
  const slidemake::Manifest manifest = slidemake::load_manifest(scratch.path("m.json"));
  slidemake::check_manifest(manifest);
  slidemake::build_saver(manifest, scratch.path("runtime.bin"), scratch.path("saver.scr"));

  HeadlessConfig config = scratch.config(scratch.path("saver.scr"));
  config.input = {key_down(20'000, 'A')};
  HeadlessPlatform platform(config);
  std::set<Color> centres;
  platform.set_frame_presented(
      [&](const Bitmap24& screen) { centres.insert(screen.pixel(80, 60)); });
  EXPECT_EQ(run_saver({"/s"}, platform), 0);
  EXPECT_TRUE(centres.count(rgb(255, 0, 0))) << "the first picture was shown";
  EXPECT_TRUE(centres.count(rgb(0, 0, 255))) << "the show moved on to the second";
  EXPECT_EQ(platform.now_ms(), 20'000u) << "the key ended the show";
  platform.set_frame_presented({});
}

}  // namespace
}  // namespace ss
