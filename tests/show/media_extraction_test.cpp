// Copying music and movies out of the package into a folder of the show's own in a scratch
// temporary directory, and back out.
#include "show/media_extraction.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/scratch_files.h"
#include "package/safe_file_name.h"

namespace ss {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// A source that records its largest read and can stop delivering bytes early, as a file cut short
// behind the reader's back would.
class WatchedSource : public ByteSource {
 public:
  explicit WatchedSource(std::span<const uint8_t> bytes, int64_t deliver = INT64_MAX)
      : memory_(bytes), deliver_(deliver) {}
  size_t read(void* buffer, size_t n) override {
    largest_read = std::max(largest_read, n);
    const size_t got = memory_.read(buffer, static_cast<size_t>(std::min<int64_t>(n, deliver_)));
    deliver_ -= static_cast<int64_t>(got);
    return got;
  }
  void seek(int64_t position) override { memory_.seek(position); }
  int64_t position() const override { return memory_.position(); }
  int64_t size() const override { return memory_.size(); }
  size_t largest_read = 0;

 private:
  MemorySource memory_;
  int64_t deliver_;
};

CommaList list(std::string_view text) {
  CommaList l;
  l.set_comma_text(text);
  return l;
}

// Two music items (one longer than several copy blocks, one empty) and one movie.
TSSFileLocations two_songs_and_a_movie() {
  TSSFileLocations s;
  s.SndCommaList = list("1000,5000");
  s.SndSizesCommaList = list("200001,0");
  s.SndFileNamesCommaList = list("\"my song.mid\",empty.wav");
  s.FlashCommaList = list("250000");
  s.FlashSizesCommaList = list("50000");
  s.FlashFileNamesCommaList = list("movie.swf");
  return s;
}

class MediaExtraction : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(temp_);
    for (size_t i = 0; i < exe_.size(); ++i) exe_[i] = static_cast<uint8_t>(i * 131 + i / 251);
  }
  static Names names_in(const fs::path& folder) {
    Names names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  Names temp_names() const { return names_in(temp_); }
  std::string exe_slice(size_t from, size_t to) const {
    return {exe_.begin() + static_cast<ptrdiff_t>(from), exe_.begin() + static_cast<ptrdiff_t>(to)};
  }
  std::string error_of(const TSSFileLocations& settings) { return error_of(settings, files_); }
  std::string error_of(const TSSFileLocations& settings, FileSystem& files) {
    WatchedSource source(exe_);
    try {
      extract_media(source, settings, files);
    } catch (const SaverError& e) {
      return e.what();
    }
    return "no error";
  }

  ScratchFolder folder_;
  fs::path temp_ = folder_.root / "temp";
  ScratchFiles files_{(temp_ / "").string()};
  std::vector<uint8_t> exe_ = std::vector<uint8_t>(300000);
};

TEST_F(MediaExtraction, WritesExactBytesIntoAFolderOfItsOwnAndRemovesIt) {
  ScratchFiles files(temp_.string());  // no trailing separator: the join adds it
  const std::string users_own = "the user's own file of the same name";
  folder_.write(temp_ / "empty.wav", users_own);
  const TSSFileLocations settings = two_songs_and_a_movie();
  WatchedSource source(exe_);
  const fs::path media = extract_media(source, settings, files);

  ASSERT_EQ(media.parent_path().parent_path(), temp_);
  EXPECT_EQ(names_in(media), (Names{"empty.wav", "movie.swf", "my song.mid"}));
  EXPECT_EQ(folder_.read(media / "my song.mid"), exe_slice(1000, 201001));
  EXPECT_EQ(folder_.read(media / "empty.wav"), "");
  EXPECT_EQ(folder_.read(media / "movie.swf"), exe_slice(250000, 300000));
  EXPECT_LE(source.largest_read, kMediaCopyBlock);
  EXPECT_EQ(media_path(settings, MediaKind::Music, 0, media.string(), files),
            (media / "my song.mid").string());

  // A second show of the same saver meanwhile gets a folder of its own.
  WatchedSource again(exe_);
  const std::string other = extract_media(again, settings, files);
  EXPECT_NE(other, media.string());
  delete_media(settings, other, files);

  folder_.write(temp_ / "unrelated.txt", "stays");
  delete_media(settings, media.string(), files);
  EXPECT_EQ(temp_names(), (Names{"empty.wav", "unrelated.txt"}));
  EXPECT_EQ(folder_.read(temp_ / "empty.wav"), users_own);
}

TEST_F(MediaExtraction, NoMediaMakeNoFolderAndNothingIsDeletedBeforeExtraction) {
  WatchedSource source(exe_);
  EXPECT_EQ(extract_media(source, TSSFileLocations{}, files_), "");
  EXPECT_TRUE(temp_names().empty());
  folder_.write(temp_ / "movie.swf", "kept");
  delete_media(two_songs_and_a_movie(), "", files_);
  EXPECT_EQ(temp_names(), Names{"movie.swf"});
  EXPECT_THROW(media_path(two_songs_and_a_movie(), MediaKind::Movie, 0, "", files_), SaverError);
}

TEST_F(MediaExtraction, BadItemsWriteNothing) {
  using Edit = void (*)(TSSFileLocations&);
  const std::pair<Edit, std::string> cases[] = {
      {[](TSSFileLocations& s) { s.FlashSizesCommaList = list("50001"); }, kStreamReadError},
      {[](TSSFileLocations& s) { s.FlashCommaList = list("400000"); }, kStreamReadError},
      {[](TSSFileLocations& s) { s.SndSizesCommaList = list("200001"); }, kIndexOutOfBounds},
      {[](TSSFileLocations& s) { s.SndFileNamesCommaList = list("a.mid"); }, kIndexOutOfBounds},
      {[](TSSFileLocations& s) { s.FlashSizesCommaList = list(""); }, kIndexOutOfBounds},
      {[](TSSFileLocations& s) { s.FlashFileNamesCommaList = list(""); }, kIndexOutOfBounds},
      {[](TSSFileLocations& s) { s.SndSizesCommaList = list("200001,-1"); },
       "Negative media length -1 for \"empty.wav\""},
      {[](TSSFileLocations& s) { s.FlashCommaList = list("-250000"); },
       "Negative media offset -250000 for \"movie.swf\""},
  };
  for (const auto& [edit, expected] : cases) {
    TSSFileLocations settings = two_songs_and_a_movie();
    edit(settings);
    EXPECT_EQ(error_of(settings), expected);
    EXPECT_TRUE(temp_names().empty()) << expected;
  }
}

TEST_F(MediaExtraction, UnsafeNamesNeverLeaveTheTemporaryDirectory) {
  folder_.write(folder_.root / "victim.txt", "must survive");
  for (const char* name : {"../victim.txt", "..\\victim.txt", "C:x.mid", "..", "", "nul.txt",
                           "x.mid:stream", "tab\there.mid", "song.mid "}) {
    TSSFileLocations settings = two_songs_and_a_movie();
    settings.FlashFileNamesCommaList = CommaList({name});
    EXPECT_TRUE(error_of(settings).starts_with("Unsafe media file name \"")) << name;
    EXPECT_TRUE(temp_names().empty()) << name;
    // A media folder beside the victim, as if the copies had been made.
    const std::string media = (folder_.root / "show" / "").string();
    fs::create_directory(media);
    EXPECT_THROW(media_path(settings, MediaKind::Movie, 0, media, files_), SaverError) << name;
    delete_media(settings, media, files_);  // passes over the name
  }
  EXPECT_EQ(folder_.read(folder_.root / "victim.txt"), "must survive");
}

TEST_F(MediaExtraction, AFailureMidwayRemovesWhatWasWritten) {
  WatchedSource cut(exe_, 200001 + 10000);  // claims its full size, stops inside the movie
  EXPECT_THROW(extract_media(cut, two_songs_and_a_movie(), files_), SaverError);
  EXPECT_TRUE(temp_names().empty());

  ScratchFiles missing((folder_.root / "no-such-folder" / "").string());
  EXPECT_EQ(
      error_of(two_songs_and_a_movie(), missing),
      "Cannot create a folder in \"" + (folder_.root / "no-such-folder" / "").string() + "\"");
  ScratchFiles refusing((temp_ / "").string());
  refusing.refuse_create = [](const std::string& path) { return path.ends_with("movie.swf"); };
  EXPECT_TRUE(error_of(two_songs_and_a_movie(), refusing).starts_with("Cannot create file \""));
  EXPECT_TRUE(temp_names().empty());
  ScratchFiles nowhere("");  // no temporary directory must not mean the root folder
  EXPECT_EQ(error_of(two_songs_and_a_movie(), nowhere), "Cannot find the temporary directory");
}

TEST_F(MediaExtraction, DeletionGoesOnPastAShortNamesList) {
  TSSFileLocations settings = two_songs_and_a_movie();
  WatchedSource source(exe_);
  const fs::path media = extract_media(source, settings, files_);
  settings.SndFileNamesCommaList = list("\"my song.mid\"");
  try {
    delete_media(settings, media.string(), files_);
    FAIL();
  } catch (const SaverError& e) {
    EXPECT_STREQ(e.what(), kIndexOutOfBounds);
  }
  EXPECT_EQ(names_in(media), Names{"empty.wav"});  // so the folder stays too
}

TEST_F(MediaExtraction, PowerPointListIsDeletedOnlyForThatKind) {
  TSSFileLocations settings;
  settings.Ver = "powerpoint";
  delete_media(settings, "", files_);  // missing: no error

  folder_.write(temp_ / kPowerPointListName, "list");
  settings.Ver = "PowerPoint";
  delete_media(settings, "", files_);
  EXPECT_EQ(temp_names(), Names{kPowerPointListName});
  settings.Ver = "powerpoint";
  delete_media(settings, "", files_);  // in the temporary directory itself, not the show's folder
  EXPECT_TRUE(temp_names().empty());
}

TEST(MediaPath, JoinsTheMediaFolderAndTheName) {
  TSSFileLocations settings = two_songs_and_a_movie();
  ScratchFiles windows("C:\\TEMP\\", '\\');
  for (const char* folder : {"C:\\TEMP\\show-1\\", "C:\\TEMP\\show-1"}) {
    EXPECT_EQ(media_path(settings, MediaKind::Music, 1, folder, windows),
              "C:\\TEMP\\show-1\\empty.wav");
    EXPECT_EQ(media_path(settings, MediaKind::Movie, 0, folder, windows),
              "C:\\TEMP\\show-1\\movie.swf");
    EXPECT_THROW(media_path(settings, MediaKind::Movie, 1, folder, windows), SaverError);
    EXPECT_THROW(media_path(settings, MediaKind::Music, -1, folder, windows), SaverError);
  }
}

TEST(SafeFileName, AcceptsOnlyOnePlainName) {
  for (const char* name : {"song.mid", "My Song (live).mp3", ".hidden", "a..b", "CONSOLE.mid",
                           "com10", "nul_.txt", "x.con", "\xE4\xF6\xFC.mid", " lead.mid"})
    EXPECT_TRUE(is_safe_file_name(name)) << name;
  for (const char* name :
       {"",     ".",        "..",   "...",     "a/b",      "a\\b",       "C:",          "x:y",
        "a.",   "a ",       "NUL",  "nul.txt", "Nul .mid", "con.tar.gz", "PRN",         "aux",
        "COM1", "com9.mid", "LPT1", "lpt0.x",  "COM\xB9",  "CONIN$",     "conout$.txt", "a\x01",
        "a*b",  "a?b",      "a<b",  "a>b",     "a|b",      "a\"b"})
    EXPECT_FALSE(is_safe_file_name(name)) << printable_name(name);
  EXPECT_TRUE(is_safe_file_name(std::string(255, 'a')));
  EXPECT_FALSE(is_safe_file_name(std::string(256, 'a')));
  EXPECT_FALSE(is_safe_file_name(std::string_view("a\0b", 3)));
  EXPECT_EQ(printable_name("a\x01"
                           "b"),
            "a\\x01b");
  EXPECT_EQ(printable_name(std::string(100, 'z')), std::string(80, 'z') + "...");
}

}  // namespace
}  // namespace ss
