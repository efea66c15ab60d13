// The INI text rules, on text alone: what a read finds and what a write changes.
#include <gtest/gtest.h>

#include "base/error.h"
#include "config/ini_file.h"

namespace ss {
namespace {

TEST(ProfileRead, FindsValuesTheWayTheProfileFunctionsDo) {
  struct Case {
    const char* text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"[Setup]\r\nmute=1\r\n", "Setup", "mute", "1"},
      {"[sEtUp]\nMUTE=1\n", "Setup", "mute", "1"},
      {"  [ Setup ]  \n  mute  =  1  \n", "Setup", "mute", "1"},
      {"[Setup]\nmute=\"  quoted  \"\n", "Setup", "mute", "  quoted  "},
      {"[Setup]\nmute='single'\n", "Setup", "mute", "single"},
      {"[Setup]\nmute=\"mismatched'\n", "Setup", "mute", "\"mismatched'"},
      {"[Setup]\nmute=\"\n", "Setup", "mute", "\""},
      {"[Setup]\nmute=a=b\n", "Setup", "mute", "a=b"},
      {"[Setup]\nmute=\n", "Setup", "mute", ""},
      {"[Setup]\nmute=1\nmute=2\n", "Setup", "mute", "1"},
      {"[Setup]\n[Other]\nmute=1\n", "Setup", "mute", std::nullopt},
      {"[Setup]\nx=1\n[Setup]\nmute=2\n", "Setup", "mute", "2"},
      {"mute=1\n[Setup]\n", "Setup", "mute", std::nullopt},
      {"[Setup]\n; mute=1\nmute\n", "Setup", "mute", std::nullopt},
      {"[Setup]\nmutes=1\n", "Setup", "mute", std::nullopt},
      {"[Setup\nmute=1\n", "Setup", "mute", "1"},
      {"\xEF\xBB\xBF[Setup]\nmute=1", "Setup", "mute", "1"},
      {"", "Setup", "mute", std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(find_profile_value(c.text, c.section, c.key), c.expected) << c.text;
}

TEST(ProfileWrite, ChangesOnlyTheOneKey) {
  struct Case {
    const char* name;
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {"new file uses CRLF", "", "[Setup]\r\nmute=1\r\n"},
      {"replaced in place, original key spelling kept",
       "; saver\r\n[other]\r\na = 1\r\n[SETUP]\r\n  Mute = 0 \r\nx=y\r\n\r\n[z]\r\n",
       "; saver\r\n[other]\r\na = 1\r\n[SETUP]\r\nMute=1\r\nx=y\r\n\r\n[z]\r\n"},
      {"appended before the section's trailing blank lines",
       "[Setup]\nother=2\n; note\n\n\n[Next]\nk=v\n",
       "[Setup]\nother=2\n; note\nmute=1\n\n\n[Next]\nk=v\n"},
      {"appended to an empty section", "[Setup]\r\n[Next]\r\n", "[Setup]\r\nmute=1\r\n[Next]\r\n"},
      {"last line without a break", "[Setup]\nother=2", "[Setup]\nother=2\nmute=1\n"},
      {"new section after the others", "[A]\nk=v\n", "[A]\nk=v\n[Setup]\nmute=1\n"},
      {"new section after an open last line", "[A]\r\nk=v", "[A]\r\nk=v\r\n[Setup]\r\nmute=1\r\n"},
      {"only the first of duplicate keys", "[Setup]\nmute=0\nmute=0\n",
       "[Setup]\nmute=1\nmute=0\n"},
      {"a key in a later duplicate section", "[Setup]\nx=1\n[Setup]\nmute=0\n",
       "[Setup]\nx=1\n[Setup]\nmute=1\n"},
      {"odd lines untouched", "[Setup]\ngarbage line\n\t\n", "[Setup]\ngarbage line\nmute=1\n\t\n"},
  };
  for (const Case& c : cases) {
    const std::string after = with_profile_value(c.before, "Setup", "mute", "1");
    EXPECT_EQ(after, c.after) << c.name;
    EXPECT_EQ(find_profile_value(after, "setup", "MUTE"), "1") << c.name;
  }
}

TEST(ProfileWrite, RefusesEntriesThatWouldChangeOtherLines) {
  const std::pair<const char*, const char*> bad[] = {
      {"Setup", "mu\nte"}, {"Se]tup", "mute"}, {"Setup", "a=b"}, {"", "mute"}, {"Setup", " "}};
  for (const auto& [section, key] : bad)
    EXPECT_THROW(with_profile_value("", section, key, "1"), SaverError) << section << key;
  EXPECT_THROW(with_profile_value("", "Setup", "mute", "1\r\n[x]"), SaverError);
}

TEST(ProfileInteger, ConvertsHexAndSignedDecimal) {
  const std::pair<const char*, std::optional<int32_t>> cases[] = {
      {"0x10", 16},
      {"0X1f", 31},
      {"0x0", 0},
      {"0xFFFFFFFF", -1},
      {"0x000000010", 16},
      {"0x100000000", std::nullopt},
      {"0x", std::nullopt},
      {"0X", std::nullopt},
      {"0x-1", std::nullopt},
      {"0xg", std::nullopt},
      {"-1", -1},
      {"+7", 7},
      {"5", 5},
      {"00", 0},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"1.5", std::nullopt},
      {"yes", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"-0x10", std::nullopt},
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(parse_profile_integer(text), expected) << text;
}

}  // namespace
}  // namespace ss
