// The settings record through the stream: the authoring tool's byte layout, round trips, the
// error texts, and reading into a record that already holds values.
#include "package/settings_stream.h"

#include <gtest/gtest.h>

#include <regex>

#include "package/class_registry.h"
#include "package/identifier_tables.h"
#include "sample_settings.h"
#include "stream_bytes.h"

namespace ss {
namespace {

using test::error_of;
using test::StreamBytes;

TSSFileLocations read_settings(const std::vector<uint8_t>& bytes) {
  MemorySource source(bytes);
  return std::get<TSSFileLocations>(read_stream_record(source));
}

std::string read_error(const std::vector<uint8_t>& bytes) {
  MemorySource source(bytes);
  return error_of([&] { read_stream_record(source); });
}

TEST(SettingsWriter, ReproducesTheSampleStreamBeginning) {
  StreamBytes expected = test::stream_header("TSSFileLocations");
  expected.str("TextFont.Charset").u8({7}).str("DEFAULT_CHARSET");
  expected.str("TextFont.Color").u8({7}).str("clWindowText");
  expected.str("TextFont.Height").u8({2, 0xE0});
  expected.str("TextFont.Name").u8({6}).str("MS Sans Serif");
  expected.str("TextFont.Style").u8({11}).str("fsBold").u8({0});
  expected.str("lRandomStyle").u8({9});
  expected.str("lRandomPic").u8({8});
  expected.str("lClearOldImage").u8({9});
  expected.str("lStretch").u8({8});
  expected.str("Interval").u8({3, 0x88, 0x13});
  expected.str("SoundRandom").u8({2, 1});

  const std::vector<uint8_t> written = write_settings_stream(test::sample_settings());
  ASSERT_GE(written.size(), expected.size());
  EXPECT_EQ(std::vector<uint8_t>(written.begin(), written.begin() + expected.size()),
            expected.bytes);
  // The 397 characters of "0,1,...,126" need the long text tag; the stream ends 00 00.
  const std::string effects = "EffectCommaList";
  const auto at = std::search(written.begin(), written.end(), effects.begin(), effects.end());
  ASSERT_NE(at, written.end());
  EXPECT_EQ(at[15], 12);
  EXPECT_EQ(at[16] | at[17] << 8, 397);
  EXPECT_EQ(written[written.size() - 2], 0);
  EXPECT_EQ(written.back(), 0);
}

TEST(SettingsWriter, IntegersTakeTheSmallestTag) {
  struct Case {
    int32_t value;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {0, {2, 0}},
      {-32, {2, 0xE0}},
      {127, {2, 0x7F}},
      {-128, {2, 0x80}},
      {128, {3, 0x80, 0}},
      {5000, {3, 0x88, 0x13}},
      {-32768, {3, 0, 0x80}},
      {32768, {4, 0, 0x80, 0, 0}},
      {INT32_MIN, {4, 0, 0, 0, 0x80}},
  };
  for (const Case& c : cases) {
    TSSFileLocations s;
    s.Interval = c.value;
    const auto written = write_settings_stream(s);
    const std::string name = "\x08Interval";
    const auto at = std::search(written.begin(), written.end(), name.begin(), name.end());
    ASSERT_NE(at, written.end());
    EXPECT_EQ(std::vector<uint8_t>(at + 9, at + 9 + static_cast<long>(c.bytes.size())), c.bytes)
        << c.value;
    EXPECT_EQ(read_settings(written).Interval, c.value);
  }
}

TEST(SettingsRoundTrip, WrittenRecordsReadBackEqual) {
  std::vector<TSSFileLocations> records;
  records.push_back(TSSFileLocations{});  // defaults: no text or list is written
  records.push_back(test::sample_settings());

  TSSFileLocations full = test::sample_settings();
  full.Text = "Summer \"2026\", with commas";
  full.TextFont.Charset = 3;         // not in the charset table: written as an integer
  full.TextFont.Color = 0x00123456;  // not in the colour table either
  full.TextFont.Name = "Arial";
  full.TextFont.Pitch = TFontPitch::fpFixed;
  full.TextFont.Style = fsBold | fsItalic | fsUnderline | fsStrikeOut;
  full.lRandomPic = full.lStretch = full.lMute = full.lShowMouseCursor = true;
  full.lExitFSCommandQuit = true;
  full.Interval = -1;
  full.SoundRandom = 70000;
  full.Title = std::string(300, 'T');  // long text tag
  full.Author = "Ada";
  full.Email = "ada@example.org";
  full.Web = "example.org";
  full.Ver = "flash";
  full.PicFileNamesCommaList = CommaList({"my photo.jpg", "a,b.jpg", "quote\"d.jpg", ""});
  full.SndCommaList = CommaList({"100", "200"});
  full.SndFileNamesCommaList = CommaList({"song one.mid", "two.wav"});
  full.SndSizesCommaList = CommaList({"10", "20"});
  full.FlashCommaList = CommaList({"300"});
  full.FlashFileNamesCommaList = CommaList({"movie.swf"});
  full.FlashSizesCommaList = CommaList({"30"});
  full.DescriptCommaList = CommaList({""});
  records.push_back(full);

  TSSFileLocations named_colour;
  named_colour.TextFont.Color = static_cast<Color>(0xFF00001E);  // clMenuBar
  named_colour.TextFont.Charset = 255;
  records.push_back(named_colour);

  for (const TSSFileLocations& record : records) {
    EXPECT_TRUE(read_settings(write_settings_stream(record)) == record);
  }
}

TEST(SettingsReader, SampleValuesAndDefaults) {
  const TSSFileLocations s = read_settings(write_settings_stream(test::sample_settings()));
  EXPECT_EQ(s.TextFont.Size(), 24);
  EXPECT_EQ(s.EffectCommaList.integer(126), 126);
  EXPECT_EQ(s.PicCommaList.integer(0), 699904);
  EXPECT_EQ(TSSFileLocations().TextFont.Size(), 8);
}

TEST(SettingsReader, FontSizeAndHeightConvertThroughPixelsPerInch) {
  struct Case {
    int32_t ppi, height, size;
  };
  const Case cases[] = {{96, -32, 24}, {96, -11, 8}, {96, -13, 10}, {120, -17, 10}, {72, -9, 9}};
  for (const Case& c : cases) {
    TFont font;
    font.PixelsPerInch = c.ppi;
    font.Height = c.height;
    EXPECT_EQ(font.Size(), c.size) << c.ppi << " " << c.height;
    font.SetSize(c.size);
    EXPECT_EQ(font.Height, c.height) << c.ppi << " " << c.size;
  }
  // Reading TextFont.Size sets the height at the record's 96 pixels per inch.
  StreamBytes s = test::stream_header("TSSFileLocations");
  s.str("TextFont.Size").u8({2, 24}).u8({0, 0});
  EXPECT_EQ(read_settings(s.bytes).TextFont.Height, -32);
}

TEST(SettingsReader, NamesAndIdentifiersIgnoreLetterCase) {
  StreamBytes s = test::stream_header("tssfilelocations");
  s.str("textfont.height").u8({2, 0xE0});
  s.str("TEXTFONT.COLOR").u8({7}).str("CLWHITE");
  s.str("TextFont.Charset").u8({7}).str("oem_charset");
  s.str("textfont.pitch").u8({7}).str("FPVARIABLE");
  s.str("TextFont.Style").u8({11}).str("FSITALIC").str("fsstrikeout").u8({0});
  s.str("LMUTE").u8({7}).str("tRuE");
  s.u8({0, 0});
  const TSSFileLocations r = read_settings(s.bytes);
  EXPECT_EQ(r.TextFont.Height, -32);
  EXPECT_EQ(r.TextFont.Color, 0xFFFFFF);
  EXPECT_EQ(r.TextFont.Charset, 255);
  EXPECT_EQ(r.TextFont.Pitch, TFontPitch::fpVariable);
  EXPECT_EQ(r.TextFont.Style, fsItalic | fsStrikeOut);
  EXPECT_TRUE(r.lMute);
}

// Every name and every value appears once, so that writing and reading agree.
TEST(IdentifierTables, NamesAndValuesAreUnique) {
  EXPECT_EQ(charset_identifiers().size(), 18u);
  EXPECT_EQ(color_identifiers().size(), 52u);
  for (IdentifierTable table : {charset_identifiers(), color_identifiers()}) {
    for (const Identifier& id : table) {
      EXPECT_EQ(find_identifier_name(table, id.value), id.name);
      EXPECT_EQ(find_identifier_value(table, id.name), id.value);
    }
  }
}

TEST(StreamErrors, MessagesAndWhichAreWrapped) {
  auto settings = [](auto&& add_properties) {
    StreamBytes s = test::stream_header("TSSFileLocations");
    add_properties(s);
    s.u8({0, 0});
    return s.bytes;
  };
  struct Case {
    const char* label;
    std::vector<uint8_t> bytes;
    std::string message;
  };
  const Case cases[] = {
      {"bad signature",
       StreamBytes().chars("TPF1").str("TSSFileLocations").str("").u8({0, 0}).bytes,
       "Invalid stream format"},
      {"empty source", {}, "Stream read error"},
      {"only the signature", StreamBytes().chars("TPF0").bytes, "Stream read error"},
      {"unknown class", test::stream_header("TForm1").u8({0, 0}).bytes, "Class TForm1 not found"},
      {"bad object name", test::stream_header("TImage", "1st").u8({0, 0}).bytes,
       "''1st'' is not a valid component name"},
      {"bad colour identifier",
       settings([](StreamBytes& s) { s.str("TextFont.Color").u8({7}).str("clBogus"); }),
       "Error reading TSSFileLocations.TextFont.Color: Invalid property value"},
      {"unknown property, long value skipped first", settings([](StreamBytes& s) {
         s.str("Speed").u8({12}).u32(1000).chars(std::string(1000, 's'));
       }),
       "Error reading TSSFileLocations.Speed: Property Speed does not exist"},
      {"unknown font attribute", settings([](StreamBytes& s) {
         s.str("TextFont.Weight").u8({2, 1});
       }),
       "Error reading TSSFileLocations.TextFont.Weight: Property TextFont.Weight does not exist"},
      {"object as a value", settings([](StreamBytes& s) { s.str("TextFont").u8({13}); }),
       "Error reading TSSFileLocations.TextFont: Property TextFont does not exist"},
      {"named record",
       test::stream_header("TSSFileLocations", "Saver_1").str("Foo").u8({8, 0, 0}).bytes,
       "Error reading Saver_1.Foo: Property Foo does not exist"},
      {"text for an integer",
       settings([](StreamBytes& s) { s.str("Interval").u8({6}).str("5000"); }),
       "Error reading TSSFileLocations.Interval: Invalid property value"},
      {"unknown style",
       settings([](StreamBytes& s) { s.str("TextFont.Style").u8({11}).str("fsBlink").u8({0}); }),
       "Error reading TSSFileLocations.TextFont.Style: Invalid property value"},
      {"cut inside a value",
       test::stream_header("TSSFileLocations").str("Interval").u8({4, 1}).bytes,
       "Error reading TSSFileLocations.Interval: Stream read error"},
      {"cut inside a name", test::stream_header("TSSFileLocations").u8({8}).chars("Inter").bytes,
       "Stream read error"},
      {"child position that is no integer", StreamBytes().chars("TPF0").u8({0xF2, 6, 0}).bytes,
       "Invalid property value"},
  };
  for (const Case& c : cases) EXPECT_EQ(read_error(c.bytes), c.message) << c.label;
}

TEST(StreamErrors, PrefixAndChildPositionAreAccepted) {
  StreamBytes s;
  s.chars("TPF0").u8({0xF3, 3, 0x10, 0x27}).str("TSSFileLocations").str("Saver").str("Interval");
  s.u8({2, 9, 0, 0});
  EXPECT_EQ(read_settings(s.bytes).Interval, 9);
}

TEST(ExistingRecord, KeepsOmittedValuesAndValuesBeforeAFailure) {
  TSSFileLocations record = test::sample_settings();
  record.Title = "kept";
  StreamBytes s = test::stream_header("TSomethingElse");  // the class name is not compared
  s.str("Interval").u8({2, 7});
  s.str("TextFont.Pitch").u8({7}).str("fpNoSuchPitch");  // names no member: value kept
  s.u8({0, 0});
  MemorySource source(s.bytes);
  read_stream_into(source, record);
  TSSFileLocations expected = test::sample_settings();
  expected.Title = "kept";
  expected.Interval = 7;
  EXPECT_TRUE(record == expected);

  StreamBytes failing = test::stream_header("TSSFileLocations");
  failing.str("SoundRandom").u8({2, 3});
  failing.str("TextFont.Color").u8({7}).str("clBogus");
  failing.str("lMute").u8({9}).u8({0, 0});
  MemorySource failing_source(failing.bytes);
  EXPECT_EQ(error_of([&] { read_stream_into(failing_source, record); }),
            "Error reading TSSFileLocations.TextFont.Color: Invalid property value");
  EXPECT_EQ(record.SoundRandom, 3);
  EXPECT_EQ(record.TextFont.Color, kClWindowText);
  EXPECT_FALSE(record.lMute);
}

// A cut anywhere gives "Stream read error": plain when the cut lies outside a property's
// value, wrapped with the property's name when it lies inside one.
TEST(Truncation, EveryPrefixOfTheSampleSettingsFails) {
  const std::vector<uint8_t> full = write_settings_stream(test::sample_settings());
  const std::regex wrapped("Error reading TSSFileLocations\\.[A-Za-z.]+: Stream read error");
  for (size_t n = 0; n < full.size(); ++n) {
    const std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(n));
    const std::string message = read_error(cut);
    EXPECT_TRUE(message == "Stream read error" || std::regex_match(message, wrapped))
        << n << ": " << message;
  }
  EXPECT_EQ(read_error(full), "(no error)");
}

}  // namespace
}  // namespace ss
