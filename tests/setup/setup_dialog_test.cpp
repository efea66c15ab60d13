// The setup dialog on the headless platform: captions from the package and the language file,
// the mute box and when OK writes it, the address labels, and the two error roads.
#include "setup/setup_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/saver_scratch.h"
#include "config/ini_file.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_setup_view.h"

namespace ss {
namespace {

using ss_test::SaverScratch;

TSSFileLocations sunset() {
  TSSFileLocations s;
  s.Title = "Sunset";
  s.Author = "Ann Example";
  s.Email = "mailto:ann@example.org";
  s.Web = "https://example.org/sunset";
  return s;
}

class SetupRig {
 public:
  // The saver beside which CONTROL.INI and the language file live.
  std::string build(const TSSFileLocations& settings) { return scratch.build({}, settings); }

  void start(const std::string& executable) {
    dialog.reset();  // a second start: the old dialog and view go before their platform
    view.reset();
    HeadlessConfig config = scratch.config(executable);
    config.user_settings_folder = user_folder;
    platform = std::make_unique<HeadlessPlatform>(config);
    view = std::make_unique<HeadlessSetupView>(platform->app(), 0x4242);
    dialog =
        std::make_unique<TfrmSetup>(*view, platform->files(), platform->desktop(), platform->app());
  }
  void show() { view->show(); }

  std::optional<std::string> stored_mute() const {
    const auto text = scratch.read("CONTROL.INI");
    if (!text) return std::nullopt;
    return find_profile_value(*text, "Setup", "mute");
  }
  const std::vector<std::string>& errors() { return platform->app().errors(); }

  SaverScratch scratch;
  std::optional<std::string> user_folder;
  std::unique_ptr<HeadlessPlatform> platform;
  std::unique_ptr<HeadlessSetupView> view;
  std::unique_ptr<TfrmSetup> dialog;
};

struct Captions {
  std::string window, title, author, email, web, ok, mute;
};

Captions captions_of(const SetupView& v) {
  return {v.window_caption(),
          v.caption(SetupControl::lblTitle),
          v.caption(SetupControl::lblAuthor),
          v.caption(SetupControl::lblEmail),
          v.caption(SetupControl::lblWeb),
          v.caption(SetupControl::OKButton),
          v.caption(SetupControl::cbMute)};
}

void expect_captions(const SetupView& v, const Captions& want) {
  const Captions got = captions_of(v);
  EXPECT_EQ(got.window, want.window);
  EXPECT_EQ(got.title, want.title);
  EXPECT_EQ(got.author, want.author);
  EXPECT_EQ(got.email, want.email);
  EXPECT_EQ(got.web, want.web);
  EXPECT_EQ(got.ok, want.ok);
  EXPECT_EQ(got.mute, want.mute);
}

const Captions kDesigned{
    "Setup []", "Title:", "Author:", "Email:", "Web address:", "&Ok", "Mute music"};

struct LanguageCase {
  const char* name;
  std::optional<std::string> language_file;
  Captions before_show;
  Captions after_show;
};

class SetupLanguage : public testing::TestWithParam<LanguageCase> {};

TEST_P(SetupLanguage, CaptionsComeFromTheDesignTheLanguageFileAndThePackage) {
  const LanguageCase& c = GetParam();
  SetupRig rig;
  const std::string saver = rig.build(sunset());
  if (c.language_file) rig.scratch.write("ridiziv.ini", *c.language_file);
  rig.start(saver);
  expect_captions(*rig.view, c.before_show);
  rig.show();
  expect_captions(*rig.view, c.after_show);
  EXPECT_TRUE(rig.errors().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, SetupLanguage,
    testing::Values(
        LanguageCase{"NoLanguageFile",
                     std::nullopt,
                     kDesigned,
                     {"Setup [Sunset]", "Title:Sunset", "Author:Ann Example",
                      "mailto:ann@example.org", "https://example.org/sunset", "&Ok", "Mute music"}},
        // An empty section gives the defaults: the button loses its accelerator.
        LanguageCase{
            "EmptySection",
            "[Language]\r\n",
            {"Setup []", "Title:", "Author:", "Email:", "Web address:", "OK", "Mute music"},
            {"Setup [Sunset]", "Title:Sunset", "Author:Ann Example", "mailto:ann@example.org",
             "https://example.org/sunset", "OK", "Mute music"}},
        LanguageCase{"Translated",
                     "[language]\nTITLE=Titel -\nAuthor=Autor: \nEmail=E-Post\nMuteMusic=Stumm\n",
                     {"Setup []", "Titel -", "Autor:", "E-Post", "Web address:", "OK", "Stumm"},
                     {"Setup [Sunset]", "Titel -Sunset", "Autor:Ann Example",
                      "mailto:ann@example.org", "https://example.org/sunset", "OK", "Stumm"}}),
    [](const testing::TestParamInfo<LanguageCase>& param) { return param.param.name; });

struct MuteCase {
  const char* name;
  std::optional<std::string> stored;  // the value under [Setup] mute, none for no file
  int clicks;                         // on the box between showing and OK
  bool shown_ticked;
  std::optional<std::string> after_ok;  // nullopt: the file is left exactly as it was
};

class SetupMute : public testing::TestWithParam<MuteCase> {};

TEST_P(SetupMute, OkWritesTheBoxOnlyWhenItChanged) {
  const MuteCase& c = GetParam();
  SetupRig rig;
  const std::string saver = rig.build(sunset());
  const std::string stored_text =
      c.stored ? "[Other]\r\nkeep=1\r\n[Setup]\r\nmute=" + *c.stored + "\r\n" : "";
  if (c.stored) rig.scratch.write("CONTROL.INI", stored_text);
  rig.start(saver);
  rig.show();
  EXPECT_EQ(rig.view->checked(), c.shown_ticked);
  for (int i = 0; i < c.clicks; ++i) ASSERT_TRUE(rig.view->click_mute());
  ASSERT_TRUE(rig.view->press_ok());

  EXPECT_TRUE(rig.view->closed());
  EXPECT_TRUE(rig.platform->app().terminated());
  if (c.after_ok) {
    EXPECT_EQ(rig.stored_mute(), c.after_ok);
    if (c.stored) {  // every other line of the file stays
      EXPECT_EQ(find_profile_value(rig.scratch.read("CONTROL.INI").value(), "Other", "keep"), "1");
    }
  } else {
    EXPECT_EQ(rig.scratch.read("CONTROL.INI"),
              c.stored ? std::optional<std::string>(stored_text) : std::nullopt);
    EXPECT_FALSE(rig.platform->log().contains("file.create"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SetupMute,
    testing::Values(MuteCase{"NoneUntouched", std::nullopt, 0, false, std::nullopt},
                    MuteCase{"ZeroUntouched", "0", 0, false, std::nullopt},
                    MuteCase{"WordUntouched", "yes", 0, false, std::nullopt},
                    MuteCase{"OneWrittenAgain", "1", 0, true, "1"},
                    MuteCase{"FiveStoredAsOne", "5", 0, true, "1"},
                    MuteCase{"HexIsMuted", "0x10", 0, true, "1"},
                    MuteCase{"TickUntickWritesZero", std::nullopt, 2, false, "0"},
                    MuteCase{"TickWritesOne", "0", 1, false, "1"},
                    MuteCase{"UntickWritesZero", "1", 1, true, "0"}),
    [](const testing::TestParamInfo<MuteCase>& param) { return param.param.name; });

TEST(SetupDialogTest, AnUnreadablePackageIsReportedAndLeavesTheDesign) {
  SetupRig rig;
  rig.scratch.write("bare.scr", std::string(4096, '\x90'));
  rig.scratch.write("CONTROL.INI", "[Setup]\r\nmute=1\r\n");
  rig.start(rig.scratch.path("bare.scr"));
  rig.show();
  ASSERT_EQ(rig.errors().size(), 1u);
  EXPECT_EQ(rig.errors()[0], "Invalid stream format");
  expect_captions(*rig.view, kDesigned);
  // The show step stopped before it read the mute setting.
  EXPECT_FALSE(rig.view->checked());
  EXPECT_FALSE(rig.dialog->MuteChanged());
  rig.view->press_ok();
  EXPECT_TRUE(rig.view->closed());
  EXPECT_EQ(rig.scratch.read("CONTROL.INI"), "[Setup]\r\nmute=1\r\n");
}

TEST(SetupDialogTest, AFileShorterThanATrailerShowsNothingAndReportsNothing) {
  SetupRig rig;
  rig.scratch.write("tiny.scr", "MZ");
  rig.start(rig.scratch.path("tiny.scr"));
  rig.show();
  EXPECT_TRUE(rig.errors().empty());
  expect_captions(*rig.view, kDesigned);
}

TEST(SetupDialogTest, ARefusedFolderSendsTheChoiceToTheUsersOwnCopyWhichIsReadFirst) {
  SetupRig rig;
  rig.user_folder = rig.scratch.path("user");
  std::filesystem::create_directory(*rig.user_folder);
  const std::string saver = rig.build(sunset());
  // A folder where the settings file should be: nothing can be written there (even by root).
  std::filesystem::create_directory(rig.scratch.path("CONTROL.INI"));
  rig.start(saver);
  rig.show();
  rig.view->click_mute();
  rig.view->press_ok();
  EXPECT_TRUE(rig.errors().empty());
  EXPECT_TRUE(rig.view->closed());
  const std::string copy = "user/slidesaver/saver.scr/CONTROL.INI";
  EXPECT_EQ(rig.scratch.read(copy), "[Setup]\r\nmute=1\r\n");

  // The next dialog shows the user's copy; once the folder takes writes again, both files
  // follow the box, so that the copy never hides a newer choice.
  std::filesystem::remove(rig.scratch.path("CONTROL.INI"));
  rig.scratch.write("CONTROL.INI", "[Setup]\r\nmute=0\r\n[Other]\r\nkeep=1\r\n");
  rig.start(saver);
  rig.show();
  EXPECT_TRUE(rig.view->checked());
  rig.view->click_mute();
  rig.view->press_ok();
  EXPECT_EQ(rig.stored_mute(), "0");
  EXPECT_EQ(find_profile_value(rig.scratch.read(copy).value(), "Setup", "mute"), "0");
}

TEST(SetupDialogTest, WhenBothWritesAreRefusedTheErrorNamesTheFileBesideTheSaverAndOkCloses) {
  for (const bool has_user_folder : {false, true}) {
    SetupRig rig;
    // A file where the user's folder should be: no folder can be made inside it.
    if (has_user_folder) {
      rig.user_folder = rig.scratch.path("user");
      rig.scratch.write("user", "not a folder");
    }
    const std::string saver = rig.build(sunset());
    std::filesystem::create_directory(rig.scratch.path("CONTROL.INI"));
    rig.start(saver);
    rig.show();
    rig.view->click_mute();
    rig.view->press_ok();
    EXPECT_EQ(rig.errors(),
              std::vector<std::string>{"Unable to write to " + rig.scratch.path("CONTROL.INI")});
    EXPECT_TRUE(rig.view->closed()) << has_user_folder;
    EXPECT_TRUE(rig.platform->app().terminated()) << has_user_folder;
  }
}

TEST(SetupDialogTest, AddressLabelsOpenTheirTextAndPointTheCursor) {
  SetupRig rig;
  rig.start(rig.build(sunset()));
  rig.show();
  EXPECT_TRUE(rig.view->point_at_label(SetupControl::lblEmail));
  EXPECT_TRUE(rig.view->click_label(SetupControl::lblEmail));
  EXPECT_TRUE(rig.view->leave_label(SetupControl::lblEmail));
  EXPECT_TRUE(rig.view->point_at_label(SetupControl::lblWeb));
  EXPECT_TRUE(rig.view->click_label(SetupControl::lblWeb));
  EXPECT_TRUE(rig.platform->log().has_subsequence(
      {"cursor.hand 1", "shell.open mailto:ann@example.org", "cursor.hand 0", "cursor.hand 1",
       "shell.open https://example.org/sunset"}))
      << rig.platform->log().dump();
  EXPECT_TRUE(rig.platform->headless_desktop().hand_cursor());
}

TEST(SetupDialogTest, AnEmptyAddressLeavesNothingToClick) {
  SetupRig rig;
  TSSFileLocations settings = sunset();
  settings.Email.clear();
  rig.start(rig.build(settings));
  rig.show();
  EXPECT_EQ(rig.view->caption(SetupControl::lblEmail), "");
  EXPECT_FALSE(rig.view->point_at_label(SetupControl::lblEmail));
  EXPECT_FALSE(rig.view->click_label(SetupControl::lblEmail));
  // Even when asked directly, the dialog gives the shell nothing.
  rig.dialog->lblEmailClick();
  EXPECT_TRUE(rig.platform->log().with_prefix("shell.open").empty());
  EXPECT_TRUE(rig.platform->log().with_prefix("cursor.hand").empty());
}

}  // namespace
}  // namespace ss
