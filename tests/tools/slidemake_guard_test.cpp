// What `slidemake build` refuses, and what it makes of a manifest that says little: every
// refusal says why and leaves the user's files as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "common/bmp_encoder.h"
#include "slidemake/code_page.h"
#include "slidemake/commands.h"
#include "slidemake/saver_contents.h"
#include "support/saver_fixture.h"

namespace slidemake {
namespace {

namespace fs = std::filesystem;
using slidemake_test::ScratchDir;

const std::vector<uint8_t> kWave = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E', 0, 0, 0, 0};

std::map<std::string, std::vector<uint8_t>> snapshot(const ScratchDir& dir) {
  std::map<std::string, std::vector<uint8_t>> files;
  for (const auto& item : fs::recursive_directory_iterator(dir.path("")))
    if (item.is_regular_file())
      files[item.path().string()] = dir.read(fs::relative(item.path(), dir.path("")).string());
  return files;
}

// Runs `slidemake build` and returns its error ("" when it succeeded).
std::string build_error(const Args& args) {
  try {
    run_build(args);
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

TEST(SlidemakeGuard, RefusalsSayWhyAndLeaveEveryInputAsItWas) {
  struct Case {
    const char* manifest;
    const char* output;  // relative to the folder
    const char* reason;
  };
  const Case cases[] = {
      {R"({"pictures": ["a.jpg"]})", "m.json", "is the manifest"},
      {R"({"pictures": ["a.jpg"]})", "same-as-a.jpg", "is a picture"},
      {R"({"pictures": ["a.jpg"], "music": ["tune.wav"]})", "tune.wav", "is a music file"},
      {R"({"pictures": ["a.jpg"]})", "album", "is a folder"},
      {R"({"pictures": ["a.jpg"]})", "runtime.bin", "is the runtime"},
      {R"({"music": ["tune.wav"]})", "out.scr", "no pictures"},
      {R"({"pictures": ["album"]})", "out.scr", "no pictures"},
      {R"({"pictures": ["a.jpg"], "settings": {"Interval": -5}})", "out.scr", "settings.Interval"},
      {R"({"pictures": ["a.jpg"], "music": ["notes.txt"]})", "out.scr", "is not music"},
      {R"({"pictures": ["a.jpg"], "movies": ["tune.wav"]})", "out.scr", "is not a movie"},
      {R"({"pictures": ["notes.txt"]})", "out.scr", "notes.txt"},
      {R"({"pictures": ["a.jpg"], "settings": {"Title": "Caf\u00e9 \u2615"}})", "out.scr",
       "settings.Title: the character U+2615"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.manifest);
    ScratchDir dir;
    dir.jpeg("a.jpg", 16, 16);
    fs::create_hard_link(dir.path("a.jpg"), dir.path("same-as-a.jpg"));
    fs::create_directories(dir.path("album"));
    dir.write("tune.wav", kWave);
    dir.write_text("notes.txt", "text");
    dir.write_text("m.json", c.manifest);
    const std::string runtime = dir.fake_runtime(64);
    const auto before = snapshot(dir);
    const std::string error =
        build_error({dir.path("m.json"), "-o", dir.path(c.output), "--runtime", runtime});
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    EXPECT_EQ(snapshot(dir), before);
  }
}

TEST(SlidemakeGuard, TextsGoInTheCodePageAndComeBackInUtf8) {
  ScratchDir dir;
  dir.jpeg("a.jpg", 16, 16);
  const std::string runtime = dir.fake_runtime(64);
  dir.write_text("m.json", R"({"pictures": [{"file": "a.jpg", "description": "Été"}],
                               "settings": {"Title": "Café", "Text": "Café"}})");
  ASSERT_EQ(run_build({dir.path("m.json"), "-o", dir.path("west.scr"), "--runtime", runtime}), 0);
  const SaverContents west = read_saver_contents(dir.path("west.scr"));
  EXPECT_EQ(west.settings.Title, "Caf\xE9");
  EXPECT_EQ(west.settings.DescriptCommaList.items(), std::vector<std::string>{"\xC9t\xE9"});
  EXPECT_EQ(west.settings.TextFont.Charset, 1);  // a Western saver keeps DEFAULT_CHARSET

  dir.write_text("ru.json", R"({"pictures": ["a.jpg"], "settings": {"Title": "Привет"}})");
  ASSERT_EQ(run_build({dir.path("ru.json"), "-o", dir.path("ru.scr"), "--runtime", runtime,
                       "--codepage", "1251"}),
            0);
  ss::TSSFileLocations russian = read_saver_contents(dir.path("ru.scr")).settings;
  EXPECT_EQ(russian.Title, "\xCF\xF0\xE8\xE2\xE5\xF2");
  EXPECT_EQ(russian.TextFont.Charset, 204);  // RUSSIAN_CHARSET
  decode_settings_texts(russian);
  EXPECT_EQ(russian.Title, "Привет");
  // The same title cannot be held by the Western code page, nor can an unknown code page be used.
  EXPECT_NE(build_error({dir.path("ru.json"), "-o", dir.path("x.scr"), "--runtime", runtime})
                .find("U+041F"),
            std::string::npos);
  EXPECT_NE(build_error({dir.path("ru.json"), "-o", dir.path("x.scr"), "--runtime", runtime,
                         "--codepage", "1300"})
                .find("code page 1300"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(dir.path("x.scr")));
}

TEST(SlidemakeGuard, AFolderBuildsASaverWithTheAuthoringSettings) {
  ScratchDir dir;
  fs::create_directories(dir.path("phone"));
  dir.jpeg("phone/IMG_10.jpg", 16, 16);
  dir.jpeg("phone/IMG_9.jpg", 16, 16);
  dir.write("phone/IMG_11.bmp", ss::encode_bmp(ss::Bitmap24(8, 8)));
  dir.write("phone/theme.wav", kWave);
  dir.write_text("phone/readme.txt", "text");
  ASSERT_EQ(
      run_build({dir.path("phone"), "-o", dir.path("out.scr"), "--runtime", dir.fake_runtime(64)}),
      0);
  const SaverContents c = read_saver_contents(dir.path("out.scr"));
  EXPECT_EQ(c.settings.PicFileNamesCommaList.items(),
            (std::vector<std::string>{"IMG_9.jpg", "IMG_10.jpg", "IMG_11.bmp"}));
  EXPECT_EQ(c.settings.SndFileNamesCommaList.items(), std::vector<std::string>{"theme.wav"});
  EXPECT_EQ(c.settings.Interval, 5000);
  EXPECT_TRUE(c.settings.lExitKeyPress && c.settings.lExitMouseClick && c.settings.lExitMouseMove);
  EXPECT_TRUE(c.settings.lRandomStyle && c.settings.lClearOldImage && c.settings.lSoundLoop);
  EXPECT_EQ(c.settings.SoundRandom, 1);
  EXPECT_EQ(c.settings.EffectCommaList.count(), 127);
  EXPECT_TRUE(c.warnings.empty());
}

TEST(SlidemakeGuard, AnExtractedSaverBuildsAgainAsItWas) {
  ScratchDir dir;
  dir.jpeg("a.jpg", 16, 16);
  dir.write("b.bmp", ss::encode_bmp(ss::Bitmap24(8, 8)));
  dir.write("tune.wav", kWave);
  dir.write_text("m.json", R"({"pictures": [{"file": "a.jpg", "description": "Été"}, "b.bmp"],
      "music": ["tune.wav"], "settings": {"Title": "Žluťoučký kůň", "Interval": 700, "lRandomPic": true,
      "EffectCommaList": [3, 1]}})");
  const std::string runtime = dir.fake_runtime(64);
  ASSERT_EQ(run_build({dir.path("m.json"), "-o", dir.path("first.scr"), "--runtime", runtime,
                       "--codepage", "1250"}),
            0);
  ASSERT_EQ(run_extract({dir.path("first.scr"), "-d", dir.path("out")}), 0);
  ASSERT_EQ(run_build({dir.path("out/slidesaver.json"), "-o", dir.path("again.scr"), "--runtime",
                       runtime}),
            0);
  const SaverContents first = read_saver_contents(dir.path("first.scr"));
  const SaverContents again = read_saver_contents(dir.path("again.scr"));
  EXPECT_EQ(again.settings, first.settings);
  EXPECT_EQ(again.settings.TextFont.Charset, 238);  // EASTEUROPE_CHARSET: the code page came along
  EXPECT_EQ(dir.read("again.scr"), dir.read("first.scr"));
}

}  // namespace
}  // namespace slidemake
