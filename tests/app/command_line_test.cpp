// Mode selection from the command line, and the arguments as the entry keeps them.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ss {
namespace {

struct ModeCase {
  std::vector<std::string> args;
  SaverMode mode;
};

class ModeSelection : public testing::TestWithParam<ModeCase> {};

TEST_P(ModeSelection, FirstArgumentPicksTheMode) {
  const ModeCase& c = GetParam();
  EXPECT_EQ(select_mode(upper_case_arguments(c.args).first), c.mode);
}

// Only the first one or two characters count, in either case, with or without a prefix.
INSTANTIATE_TEST_SUITE_P(
    Switches, ModeSelection,
    testing::Values(ModeCase{{}, smConfigure}, ModeCase{{""}, smConfigure},
                    ModeCase{{"/c:1234"}, smConfigure}, ModeCase{{"-C"}, smConfigure},
                    ModeCase{{"c"}, smConfigure}, ModeCase{{"", "/s"}, smConfigure},
                    ModeCase{{"/s"}, smShow}, ModeCase{{"-s"}, smShow}, ModeCase{{"s"}, smShow},
                    ModeCase{{"/x"}, smShow}, ModeCase{{"/"}, smShow}, ModeCase{{"-"}, smShow},
                    ModeCase{{" /c"}, smShow}, ModeCase{{"//c"}, smShow},
                    ModeCase{{"/a", "1234"}, smChangePassword}, ModeCase{{"-A"}, smChangePassword},
                    ModeCase{{"apple"}, smChangePassword}, ModeCase{{"/p", "99"}, smPreview},
                    ModeCase{{"-p"}, smPreview}, ModeCase{{"Preview"}, smPreview},
                    ModeCase{{"/P:5"}, smPreview}));

TEST(SaverArgumentsTest, FirstTwoAreUpperCasedAndTheRestIgnored) {
  const SaverArguments a = upper_case_arguments({"/p", "0x1f\xe4z", "third"});
  EXPECT_EQ(a.first, "/P");
  // Only ASCII letters change.
  EXPECT_EQ(a.second, "0X1F\xe4Z");

  const SaverArguments none = upper_case_arguments({});
  EXPECT_EQ(none.first, "");
  EXPECT_EQ(none.second, "");
  EXPECT_EQ(upper_case_arguments({"/a"}).second, "");
}

}  // namespace
}  // namespace ss
