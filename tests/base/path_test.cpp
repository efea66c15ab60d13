// Splitting and joining paths in single-byte and double-byte code pages.
#include "base/path.h"

#include <gtest/gtest.h>

#include <string>

namespace ss {
namespace {

// The lead-byte ranges of the four double-byte code pages, probed at their edges, where a table
// written from memory goes wrong.
TEST(LeadBytes, TheFourDoubleByteCodePagesAndNoOthers) {
  struct Edge {
    uint32_t code_page;
    std::vector<uint8_t> lead, not_lead;
  };
  const Edge edges[] = {
      {932,
       {0x81, 0x95, 0x9F, 0xE0, 0xEA, 0xFC},
       {0x00, 0x5C, 0x7F, 0x80, 0xA0, 0xA1, 0xDF, 0xFD, 0xFF}},
      {936, {0x81, 0xB1, 0xFE}, {0x40, 0x5C, 0x7F, 0x80, 0xFF}},
      {949, {0x81, 0xB0, 0xFE}, {0x41, 0x5C, 0x80, 0xFF}},
      {950, {0x81, 0xA4, 0xFE}, {0x40, 0x5C, 0x80, 0xFF}},
  };
  for (const Edge& e : edges) {
    const LeadBytes lead = LeadBytes::of_code_page(e.code_page);
    for (uint8_t b : e.lead) EXPECT_TRUE(lead(b)) << e.code_page << " " << int{b};
    for (uint8_t b : e.not_lead) EXPECT_FALSE(lead(b)) << e.code_page << " " << int{b};
  }
  for (uint32_t single : {0u, 1252u, 1251u, 65001u, 874u})
    EXPECT_FALSE(LeadBytes::of_code_page(single).any()) << single;
  // Half-width katakana stand alone in Shift-JIS: 0xA0 to 0xDF are one-byte characters.
  int lead_count = 0;
  for (unsigned b = 0; b < 256; ++b) lead_count += LeadBytes::of_code_page(932)(uint8_t(b));
  EXPECT_EQ(lead_count, 31 + 29);
}

// "表" is 0x95 0x5C in Shift-JIS, "ソ" 0x83 0x5C; "功" in Big5 is 0xA5 0x5C.
TEST(Path, ASecondByteOfBackslashSplitsNothing) {
  const LeadBytes sjis = LeadBytes::of_code_page(932);
  const std::string hyo = "\x95\x5C";
  const std::string saver = "C:\\" + hyo + "\\" + hyo + ".scr";
  EXPECT_EQ(folder_of(saver, sjis), "C:\\" + hyo + "\\");
  EXPECT_EQ(file_name_of(saver, sjis), hyo + ".scr");
  EXPECT_EQ(file_name_of("C:\\\x83\x5C", sjis), "\x83\x5C");
  // Without the code page the same bytes split wrongly, as a single-byte system would.
  EXPECT_EQ(file_name_of(saver), ".scr");

  // A folder ending with such a character does not end with a separator.
  EXPECT_EQ(join_path("C:\\" + hyo, "CONTROL.INI", '\\', sjis), "C:\\" + hyo + "\\CONTROL.INI");
  EXPECT_EQ(join_path("C:\\" + hyo + "\\", "x", '\\', sjis), "C:\\" + hyo + "\\x");
  const LeadBytes big5 = LeadBytes::of_code_page(950);
  EXPECT_EQ(join_path("D:\\\xA5\x5C", "a", '\\', big5), "D:\\\xA5\x5C\\a");
  EXPECT_EQ(join_path("D:\\\xA5\x5C", "a", '\\'),
            "D:\\\xA5\x5C"
            "a");
  // A lead byte at the very end has no second byte: the byte before it is still read alone.
  EXPECT_EQ(file_name_of("a\\b\x95", sjis), "b\x95");
  EXPECT_EQ(join_path("a\\\x95", "n", '\\', sjis), "a\\\x95\\n");
  // Katakana and Latin-1 bytes are single: 0xB1 then 0x5C is a name then a separator.
  EXPECT_EQ(folder_of("C:\\\xB1\\x", sjis), "C:\\\xB1\\");
}

TEST(Path, SingleByteJoiningAndSplitting) {
  EXPECT_EQ(join_path("", "a", '\\'), "\\a");
  EXPECT_EQ(join_path("C:\\", "a", '\\'), "C:\\a");
  EXPECT_EQ(join_path("/tmp", "a", '/'), "/tmp/a");
  EXPECT_EQ(join_path("/tmp/", "a", '/'), "/tmp/a");
  EXPECT_EQ(folder_of("/opt/s/x.scr"), "/opt/s/");
  EXPECT_EQ(folder_of("C:/mixed\\x.scr"), "C:/mixed\\");
  EXPECT_EQ(folder_of("plain"), "");
  EXPECT_EQ(file_name_of("plain"), "plain");
  EXPECT_EQ(file_name_of("C:\\dir\\"), "");
}

}  // namespace
}  // namespace ss
