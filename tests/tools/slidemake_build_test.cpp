// Building savers from manifests and reading them back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/bmp_encoder.h"
#include "package/trailer.h"
#include "slidemake/manifest.h"
#include "slidemake/package_builder.h"
#include "slidemake/saver_contents.h"
#include "support/saver_fixture.h"

namespace slidemake {
namespace {

using slidemake_test::ScratchDir;

std::string effects_0_to_126() {
  std::string list;
  for (int i = 0; i < 127; ++i) list += (i ? "," : "") + std::to_string(i);
  return "[" + list + "]";
}

// The sample saver: one 105x105 JPEG behind a 699,904-byte runtime, 127 effects.
const char* kSampleSettings = R"("settings": {
    "TextFont": {"Name": "MS Sans Serif", "Height": -32, "Color": "clWindowText",
                 "Charset": "DEFAULT_CHARSET", "Style": ["fsBold"]},
    "lRandomStyle": true, "lClearOldImage": true, "Interval": 5000, "SoundRandom": 1,
    "lSoundLoop": true, "lExitMouseMove": true, "lExitMouseClick": true, "lExitKeyPress": true,
    "Ver": "photo", "EffectCommaList": EFFECTS })";

std::string sample_manifest() {
  std::string settings = kSampleSettings;
  settings.replace(settings.find("EFFECTS"), 7, effects_0_to_126());
  return R"({"pictures": ["photo.jpg"], )" + settings + "}";
}

TEST(SlidemakeBuild, SampleLayoutRoundTripsThroughInspect) {
  ScratchDir dir;
  dir.jpeg("photo.jpg", 105, 105);
  dir.write_text("saver.json", sample_manifest());
  const BuildResult r = build_saver(load_manifest(dir.path("saver.json")), dir.fake_runtime(699904),
                                    dir.path("out.scr"));
  EXPECT_EQ(r.package_start, 699904);

  const std::vector<uint8_t> file = dir.read("out.scr");
  ASSERT_EQ(static_cast<int64_t>(file.size()), r.file_size);
  // The picture stream begins at the package start, the settings stream at field 2.
  const std::string picture_head(file.begin() + 699904, file.begin() + 699904 + 11);
  EXPECT_EQ(picture_head, std::string("TPF0\x06TImage\x00", 12).substr(0, 11));
  const std::string settings_head(file.begin() + r.settings_offset,
                                  file.begin() + r.settings_offset + 39);
  EXPECT_EQ(settings_head, std::string("TPF0\x10TSSFileLocations\x00\x10TextFont.Charset\x07", 39));
  const std::string trailer(file.end() - 40, file.end());
  EXPECT_EQ(ss::parse_trailer_field(trailer.substr(0, 20)), r.file_size - 40 - 699904);
  EXPECT_EQ(ss::parse_trailer_field(trailer.substr(20)), r.settings_offset);

  const SaverContents c = read_saver_contents(dir.path("out.scr"));
  EXPECT_TRUE(c.warnings.empty());
  EXPECT_EQ(c.settings.PicCommaList.items(), std::vector<std::string>{"699904"});
  EXPECT_EQ(c.settings.EffectCommaList.count(), 127);
  EXPECT_EQ(c.settings.EffectCommaList.integer(126), 126);
  EXPECT_EQ(c.settings.TextFont.Height, -32);
  EXPECT_EQ(c.settings.TextFont.Name, "MS Sans Serif");
  EXPECT_EQ(c.settings.Interval, 5000);
  EXPECT_TRUE(c.settings.lRandomStyle && c.settings.lSoundLoop && c.settings.lClearOldImage);
  EXPECT_FALSE(c.settings.lRandomPic || c.settings.lStretch || c.settings.lMute);
  ASSERT_EQ(c.pictures.size(), 1u);
  EXPECT_EQ(c.pictures[0].graphic, "TJPEGImage");
  EXPECT_EQ(c.pictures[0].width, 105);
  EXPECT_EQ(c.pictures[0].size, r.settings_offset - 699904);
}

TEST(SlidemakeBuild, EverySettingGivenComesBack) {
  ScratchDir dir;
  dir.jpeg("a.jpg", 40, 30);
  dir.write("b.bmp", ss::encode_bmp(ss::Bitmap24(20, 10)));
  dir.write("song one.wav", std::vector<uint8_t>(5000, 1));
  dir.write("clip.swf", std::vector<uint8_t>(777, 2));
  dir.write_text("m.json", R"({
    "pictures": [{"file": "a.jpg", "description": "First, \"quoted\""}, "b.bmp"],
    "music": ["song one.wav"], "movies": ["clip.swf"],
    "settings": {"Text": "Hello", "Title": "Sunset", "Author": "Ada", "Email": "a@b.c",
      "Web": "http://x.y", "Ver": "flash", "Interval": 1, "SoundRandom": 3,
      "lRandomPic": true, "lStretch": true, "lMute": true, "lShowMouseCursor": true,
      "lExitFSCommandQuit": true,
      "TextFont": {"Name": "Arial", "Height": -20, "Color": 255, "Charset": 204,
                   "Style": ["fsItalic", "fsStrikeOut"], "Pitch": "fpFixed"},
      "EffectCommaList": [0, 127, 5]}})");
  const Manifest m = load_manifest(dir.path("m.json"));
  build_saver(m, dir.fake_runtime(1000), dir.path("out.scr"));
  const SaverContents c = read_saver_contents(dir.path("out.scr"));
  ss::TSSFileLocations expected = m.settings;
  const ss::TSSFileLocations& got = c.settings;
  expected.PicCommaList = got.PicCommaList;
  expected.SndCommaList = got.SndCommaList;
  expected.FlashCommaList = got.FlashCommaList;
  EXPECT_EQ(got.PicFileNamesCommaList.items(), (std::vector<std::string>{"a.jpg", "b.bmp"}));
  EXPECT_EQ(got.DescriptCommaList.items(), (std::vector<std::string>{"First, \"quoted\"", ""}));
  EXPECT_EQ(got.SndFileNamesCommaList.items(), std::vector<std::string>{"song one.wav"});
  EXPECT_EQ(got.SndSizesCommaList.items(), std::vector<std::string>{"5000"});
  EXPECT_EQ(got.FlashSizesCommaList.items(), std::vector<std::string>{"777"});
  expected.PicFileNamesCommaList = got.PicFileNamesCommaList;
  expected.DescriptCommaList = got.DescriptCommaList;
  expected.SndFileNamesCommaList = got.SndFileNamesCommaList;
  expected.SndSizesCommaList = got.SndSizesCommaList;
  expected.FlashFileNamesCommaList = got.FlashFileNamesCommaList;
  expected.FlashSizesCommaList = got.FlashSizesCommaList;
  EXPECT_EQ(got, expected);
  EXPECT_TRUE(c.warnings.empty());
  ASSERT_EQ(c.music.size(), 1u);
  const std::vector<uint8_t> file = dir.read("out.scr");
  EXPECT_EQ(file[static_cast<size_t>(c.music[0].offset)], 1);
  EXPECT_EQ(file[static_cast<size_t>(c.movies[0].offset)], 2);
}

TEST(SlidemakeBuild, BadManifestsNameTheFieldAndLeaveNoOutput) {
  struct Case {
    const char* manifest;
    const char* message_part;
  };
  const Case cases[] = {
      {R"({"pictures": ["missing.jpg"]})", "pictures[0]"},
      {R"({"pictures": ["notes.txt"]})", "not a supported picture"},
      {R"({"pictures": [{"path": "a.jpg"}]})", "unknown key \"path\""},
      {R"({"music": ["notes.txt", "sub/notes.txt"]})", "already named"},
      {R"({"settings": {"Interval": "fast"}})", "settings.Interval: expected an integer"},
      {R"({"settings": {"PicCommaList": "1"}})", "computed from the pictures"},
      {R"({"settings": {"Colour": 1}})", "settings.Colour: unknown setting"},
      {R"({"settings": {"TextFont": {"Color": "clPink"}}})", "unknown identifier \"clPink\""},
      {R"({"settings": {"EffectCommaList": [128]}})", "EffectCommaList[0]"},
      {R"({"pictures": "a.jpg"})", "pictures: expected an array"},
      {R"({"pictures": [)", "not valid JSON"},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    std::filesystem::create_directories(dir.path("sub"));
    dir.write_text("notes.txt", "just text");
    dir.write_text("sub/notes.txt", "just text");
    dir.jpeg("a.jpg", 8, 8);
    dir.write_text("m.json", c.manifest);
    try {
      build_saver(load_manifest(dir.path("m.json")), dir.fake_runtime(100), dir.path("out.scr"));
      ADD_FAILURE() << "no error for " << c.manifest;
    } catch (const std::exception& e) {
      EXPECT_NE(std::string(e.what()).find(c.message_part), std::string::npos)
          << c.manifest << " -> " << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path("out.scr"))) << c.manifest;
    EXPECT_FALSE(std::filesystem::exists(dir.path("out.scr.partial"))) << c.manifest;
  }
}

TEST(SlidemakeBuild, PictureTheRuntimeCannotDecodeFailsTheBuild) {
  ScratchDir dir;
  std::vector<uint8_t> broken = {'B', 'M', 1, 2, 3};  // a bitmap header cut short
  dir.write("broken.bmp", broken);
  dir.write_text("m.json", R"({"pictures": ["broken.bmp"]})");
  try {
    build_saver(load_manifest(dir.path("m.json")), dir.fake_runtime(100), dir.path("out.scr"));
    FAIL();
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("Bitmap image is not valid"), std::string::npos)
        << e.what();
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path("out.scr")));
}

}  // namespace
}  // namespace slidemake
