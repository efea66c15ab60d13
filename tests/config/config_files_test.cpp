// The settings and language files on disk, through the real file system in a scratch folder.
#include <gtest/gtest.h>

#include "base/error.h"
#include "config/config_paths.h"
#include "config/language_texts.h"
#include "config/mute_setting.h"
#include "support/scratch_files.h"

namespace ss {
namespace {

// Stores half of what it is given, then reports a full disk.
class FullDisk : public OutputFile {
 public:
  explicit FullDisk(std::unique_ptr<OutputFile> file) : file_(std::move(file)) {}
  void write(std::span<const uint8_t> bytes) override {
    file_->write(bytes.first(bytes.size() / 2));
    throw SaverError("Cannot write file. No space left on device");
  }
  void close() override { file_->close(); }

 private:
  std::unique_ptr<OutputFile> file_;
};

class ConfigFiles : public ::testing::Test {
 protected:
  ScratchFolder folder_;
  ScratchFiles files_;
  const std::string ini_ = folder_.path("CONTROL.INI");
};

TEST_F(ConfigFiles, MuteValuesFollowTheIntegerRules) {
  struct Case {
    const char* stored;
    std::optional<bool> muted;  // nothing: the caller's fallback
  };
  const Case cases[] = {{"0x10", true},        {"-1", true},      {"5", true},
                        {"0", false},          {"0x0", false},    {"0x", std::nullopt},
                        {"yes", std::nullopt}, {"", std::nullopt}};
  for (const Case& c : cases) {
    folder_.write(ini_, std::string("[Setup]\r\nmute=") + c.stored + "\r\n");
    for (bool fallback : {false, true})
      EXPECT_EQ(read_mute_setting(files_, ini_, fallback), c.muted.value_or(fallback))
          << c.stored << " fallback " << fallback;
  }
  std::filesystem::remove(ini_);
  EXPECT_TRUE(read_mute_setting(files_, ini_, true));
  EXPECT_FALSE(read_mute_setting(files_, ini_, false));
}

TEST_F(ConfigFiles, WritingMuteKeepsTheRestOfTheFile) {
  write_mute_setting(files_, ini_, true);
  EXPECT_EQ(folder_.read(ini_), "[Setup]\r\nmute=1\r\n");

  const std::string others = "[Desktop]\r\nWallpaper = x.bmp \r\n; kept\r\n\r\n";
  folder_.write(ini_, others + "[setup]\r\nMUTE = 1\r\nother=q\r\n");
  write_mute_setting(files_, ini_, false);
  EXPECT_EQ(folder_.read(ini_), others + "[setup]\r\nMUTE=0\r\nother=q\r\n");
  EXPECT_EQ(folder_.count(folder_.root), 1u);  // no new file left beside it
}

TEST_F(ConfigFiles, RefusedWritesReportTheFullPath) {
  // Running as root ignores permission bits, so make writing impossible another way.
  std::filesystem::create_directory(ini_);
  for (const std::string& path : {ini_, folder_.path("missing/CONTROL.INI")}) {
    try {
      write_mute_setting(files_, path, true);
      ADD_FAILURE() << path;
    } catch (const SaverError& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
    }
  }
  EXPECT_EQ(folder_.count(folder_.root), 1u);
}

TEST_F(ConfigFiles, AFailedWriteNeverLosesTheOldFile) {
  const std::string old = "[Setup]\nmute=0\n[Keep]\nthis=that\n";
  folder_.write(ini_, old);
  files_.wrap_created = [](std::unique_ptr<OutputFile> file, const std::string&) {
    return std::unique_ptr<OutputFile>(std::make_unique<FullDisk>(std::move(file)));
  };
  EXPECT_THROW(write_mute_setting(files_, ini_, true), SaverError);
  EXPECT_EQ(folder_.read(ini_), old);
  EXPECT_EQ(folder_.count(folder_.root), 1u);

  ScratchFiles unreadable;
  unreadable.refuse_reads = true;
  EXPECT_THROW(write_mute_setting(unreadable, ini_, true), SaverError);
  EXPECT_EQ(folder_.read(ini_), old);
}

TEST_F(ConfigFiles, WritesInPlaceWhenNoFileCanBeMadeBesideIt) {
  folder_.write(ini_, "[Keep]\nthis=that\n");
  files_.refuse_create = [this](const std::string& p) { return p != ini_; };
  write_mute_setting(files_, ini_, true);
  EXPECT_EQ(folder_.read(ini_), "[Keep]\nthis=that\n[Setup]\nmute=1\n");
}

TEST_F(ConfigFiles, LanguageTextsComeFromTheFileOrTheTable) {
  const std::string ini = folder_.path("ridiziv.ini");
  folder_.write(ini, "[Language]\r\n");
  for (LanguageText text :
       {LanguageText::Title, LanguageText::Author, LanguageText::Email, LanguageText::Web,
        LanguageText::btnOK, LanguageText::MuteMusic, LanguageText::DownloadSWF})
    EXPECT_EQ(read_language_text(files_, ini, text), language_default(text)) << language_key(text);
  EXPECT_EQ(read_language_text(files_, ini, LanguageText::btnOK), "OK");

  folder_.write(ini, "[language]\r\ntitle=  Titel:  \r\nbtnOK=\r\nMuteMusic=\"Musik aus \"\r\n");
  EXPECT_EQ(read_language_text(files_, ini, LanguageText::Title), "Titel:");
  EXPECT_EQ(read_language_text(files_, ini, LanguageText::btnOK), "");
  EXPECT_EQ(read_language_text(files_, ini, LanguageText::MuteMusic), "Musik aus ");
  EXPECT_EQ(read_language_text(files_, ini, LanguageText::Author), "Author:");

  const std::string long_text(3000, 'x');
  folder_.write(ini, "[Language]\nDownloadSWF=" + long_text + "\n");
  EXPECT_EQ(read_language_text(files_, ini, LanguageText::DownloadSWF), long_text.substr(0, 2047));
}

TEST(ConfigPaths, FilesSitBesideTheExecutableAndTheUsersCopyUnderItsFileName) {
  ScratchFiles files({}, '\\');
  files.executable = "C:\\Savers\\Sunset.scr";
  EXPECT_EQ(settings_file_path(files), "C:\\Savers\\CONTROL.INI");
  EXPECT_EQ(language_file_path(files), "C:\\Savers\\ridiziv.ini");
  EXPECT_EQ(user_settings_location(files).file, "");  // no user folder, no copy

  files.user_folder = "C:\\Users\\ann\\AppData\\Roaming\\";
  const UserSettingsLocation user = user_settings_location(files);
  EXPECT_EQ(user.program_folder, "C:\\Users\\ann\\AppData\\Roaming\\slidesaver");
  EXPECT_EQ(user.saver_folder, user.program_folder + "\\Sunset.scr");
  EXPECT_EQ(user.file, user.saver_folder + "\\CONTROL.INI");

  // In Shift-JIS the second byte of this character is a backslash, which splits nothing.
  files.executable = "C:\\\x95\x5C\\\x95\x5C.scr";
  files.lead = LeadBytes::of_code_page(932);
  EXPECT_EQ(settings_file_path(files), "C:\\\x95\x5C\\CONTROL.INI");
  EXPECT_EQ(user_settings_location(files).saver_folder, user.program_folder + "\\\x95\x5C.scr");
}

// The saver beside `exe` in a scratch folder, with the user's settings folder in another.
class SaverSettings : public ConfigFiles {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(folder_.root / "saver");
    std::filesystem::create_directories(folder_.root / "user");
    files_.executable = folder_.path("saver/Sunset.scr");
    files_.user_folder = folder_.path("user/");
  }
  void refuse_beside_the_saver() {
    files_.refuse_create = [this](const std::string& p) { return p.starts_with(beside_folder_); };
  }
  const std::string beside_folder_ = folder_.path("saver/");
  const std::string beside_ = folder_.path("saver/CONTROL.INI");
  const std::string copy_ = folder_.path("user/slidesaver/Sunset.scr/CONTROL.INI");
};

TEST_F(SaverSettings, ARefusedFolderSendsTheWriteToTheUsersCopyStartedFromTheFileBesideIt) {
  folder_.write(beside_, "[Other]\r\nkeep=1\r\n[Setup]\r\nmute=0\r\n");
  refuse_beside_the_saver();
  write_saver_mute_setting(files_, true);
  EXPECT_EQ(folder_.read(beside_), "[Other]\r\nkeep=1\r\n[Setup]\r\nmute=0\r\n");
  EXPECT_EQ(folder_.read(copy_), "[Other]\r\nkeep=1\r\n[Setup]\r\nmute=1\r\n");
  EXPECT_TRUE(read_saver_mute_setting(files_, false));  // the copy is read first

  // Both files follow once the folder takes writes again.
  files_.refuse_create = [](const std::string&) { return false; };
  write_saver_mute_setting(files_, false);
  EXPECT_FALSE(read_mute_setting(files_, beside_, true));
  EXPECT_FALSE(read_mute_setting(files_, copy_, true));
  EXPECT_FALSE(read_saver_mute_setting(files_, true));
}

TEST_F(SaverSettings, WithoutAUsersCopyTheFileBesideTheSaverServesAlone) {
  EXPECT_TRUE(read_saver_mute_setting(files_, true));
  write_saver_mute_setting(files_, true);
  EXPECT_EQ(folder_.read(beside_), "[Setup]\r\nmute=1\r\n");
  EXPECT_FALSE(std::filesystem::exists(folder_.root / "user" / "slidesaver"));
  folder_.write(beside_, "[Setup]\r\nmute=0\r\n");
  EXPECT_FALSE(read_saver_mute_setting(files_, true));
}

TEST_F(SaverSettings, OnlyWhenBothWritesAreRefusedTheErrorNamesTheFileBesideTheSaver) {
  refuse_beside_the_saver();
  for (const std::string& user : {std::string(), folder_.path("user/not-a-folder/")}) {
    files_.user_folder = user;
    folder_.write(folder_.root / "user" / "not-a-folder", "a file");
    try {
      write_saver_mute_setting(files_, true);
      ADD_FAILURE() << user;
    } catch (const SaverError& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to write to " + beside_) << user;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(beside_));
}

}  // namespace
}  // namespace ss
