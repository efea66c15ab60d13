// The saver's arguments out of the command-line text Windows hands the program.
#include "platform/core/windows_command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ss {
namespace {

struct SplitCase {
  const char* command_line;
  std::vector<std::string> expected;
};

TEST(WindowsCommandLine, SplitsAsTheFrameworkDid) {
  const std::vector<SplitCase> cases = {
      // What the system passes for each mode.
      {R"("C:\WINDOWS\Photo Show.scr" /s)", {"/s"}},
      {R"(C:\WINDOWS\PHOTOS~1.SCR /p 1234)", {"/p", "1234"}},
      {R"("C:\Savers\show.scr" /c:5678)", {"/c:5678"}},
      {R"(show.scr)", {}},
      {"", {}},
      // Blanks are any control character, runs of them separate once.
      {"show.scr \t /a\r\n  42  ", {"/a", "42"}},
      // Quotes group blanks and vanish, also in the middle of an argument.
      {R"(show.scr "two words" a"b c"d)", {"two words", "ab cd"}},
      // Backslashes are ordinary: a quoted folder keeps its last backslash.
      {R"(show.scr "C:\My Savers\" next)", {R"(C:\My Savers\)", "next"}},
      {R"(show.scr a\"b c")", {R"(a\b c)"}},
      // An empty pair of quotes is no argument at all; an unclosed quote runs to the end.
      {R"(show.scr "" /s "")", {"/s"}},
      {R"(show.scr "/p 12)", {"/p 12"}},
      // The program's own name may be quoted with blanks inside and nothing after it.
      {R"("C:\Program Files\x.scr")", {}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.command_line);
    EXPECT_EQ(arguments_after_program(c.command_line), c.expected);
  }
}

}  // namespace
}  // namespace ss
