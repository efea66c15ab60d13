#include <gtest/gtest.h>

#include "base/comma_list.h"
#include "base/error.h"

namespace ss {
namespace {

std::vector<std::string> parse(std::string_view text) {
  CommaList list;
  list.set_comma_text(text);
  return list.items();
}

TEST(CommaText, ParsesSeparatorsQuotesAndBlanks) {
  using V = std::vector<std::string>;
  EXPECT_EQ(parse("1,2,3"), (V{"1", "2", "3"}));
  EXPECT_EQ(parse("1, 2,   3"), (V{"1", "2", "3"}));
  EXPECT_EQ(parse("a b,c"), (V{"a", "b", "c"}));
  EXPECT_EQ(parse("a,,b"), (V{"a", "", "b"}));
  EXPECT_EQ(parse("a,"), (V{"a", ""}));
  EXPECT_EQ(parse(",a"), (V{"", "a"}));
  EXPECT_EQ(parse("\"my song.mid\",x"), (V{"my song.mid", "x"}));
  EXPECT_EQ(parse("\"say \"\"hi\"\"\""), (V{"say \"hi\""}));
  EXPECT_EQ(parse("\"unterminated, still"), (V{"unterminated, still"}));
  EXPECT_EQ(parse("  \t "), V{});
  EXPECT_EQ(parse(""), V{});
}

TEST(CommaText, NulEndsTheText) {
  EXPECT_EQ(parse(std::string_view("a,b\0,c", 7)), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(parse(std::string_view("\"a\0b\"", 5)), (std::vector<std::string>{"a"}));
}

TEST(CommaText, WritesWhatItReadsBack) {
  const std::vector<std::vector<std::string>> cases = {
      {}, {""}, {"1", "2"}, {"my song.mid"}, {"a,b", "q\"q"}, {"", "x", ""}, {"tab\there"}};
  for (const auto& items : cases) {
    const std::string text = CommaList(items).comma_text();
    EXPECT_EQ(parse(text), items) << text;
  }
  EXPECT_EQ(CommaList({""}).comma_text(), "\"\"");
  EXPECT_EQ(CommaList({"a b", "c"}).comma_text(), "\"a b\",c");
}

TEST(CommaList, AccessorsCheckTheIndex) {
  CommaList list;
  list.set_comma_text("699904,abc,-5");
  EXPECT_EQ(list.count(), 3);
  EXPECT_EQ(list.integer(0), 699904);
  EXPECT_EQ(list.integer(1), 0);
  EXPECT_EQ(list.integer(2), -5);
  EXPECT_EQ(list.text(1), "abc");
  try {
    list.text(3);
    FAIL();
  } catch (const SaverError& e) {
    EXPECT_STREQ(e.what(), "Index is out of bounds");
  }
  EXPECT_THROW(list.integer(-1), SaverError);
}

}  // namespace
}  // namespace ss
