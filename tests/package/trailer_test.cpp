// The trailer: two 20-byte decimal fields that locate the package and its settings.
#include "package/trailer.h"

#include <gtest/gtest.h>

namespace ss {
namespace {

TEST(TrailerField, ParsesTrimmedDecimalOrZero) {
  using namespace std::string_literals;
  struct Case {
    std::string field;
    int32_t value;
  };
  const Case cases[] = {
      {"43001               ", 43001},      {"741907              ", 741907},
      {"              741907", 741907},     {"\0\0\0"s + "741907" + std::string(11, '\0'), 741907},
      {"\t 43001\r\n          ", 43001},    {"-5                  ", -5},
      {"+12                 ", 12},         {"                    ", 0},
      {"12ab                ", 0},          {"12 34               ", 0},
      {"2147483647          ", 2147483647}, {"2147483648          ", 0},
      {"-2147483648         ", INT32_MIN},  {"TPF0junkjunkjunkjunk", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(parse_trailer_field(c.field), c.value) << c.field;
}

TEST(TrailerField, WritesDigitsPaddedWithSpaces) {
  EXPECT_EQ(format_trailer_field(43001), "43001               ");
  EXPECT_EQ(format_trailer_field(-7), "-7                  ");
  EXPECT_EQ(format_trailer(43001, 741907), "43001               741907              ");
  EXPECT_EQ(format_trailer_field(INT64_MIN).size(), 20u);
}

TEST(Trailer, LocatesTheSamplePackage) {
  // The sample saver: 742,945 bytes, package from 699,904, settings at 741,907.
  std::vector<uint8_t> file(742945 - 40, 0);
  const std::string trailer = format_trailer(43001, 741907);
  file.insert(file.end(), trailer.begin(), trailer.end());
  MemorySource source(file);
  EXPECT_EQ(read_package_length(source), 43001);
  EXPECT_EQ(read_settings_offset(source), 741907);
  EXPECT_EQ(find_package_start(source), 699904);
}

TEST(Trailer, FilesShorterThanTheTrailerAreUnreadable) {
  for (size_t size : {0, 1, 20, 39}) {
    const std::vector<uint8_t> file(size, ' ');
    MemorySource source(file);
    EXPECT_EQ(read_package_length(source), std::nullopt) << size;
    EXPECT_EQ(find_package_start(source), std::nullopt) << size;
  }
  // A runtime with no package: both fields read as 0, the package "starts" 40 bytes early.
  const std::vector<uint8_t> runtime(1000, 'M');
  MemorySource source(runtime);
  EXPECT_EQ(read_settings_offset(source), 0);
  EXPECT_EQ(find_package_start(source), 960);
  EXPECT_EQ(read_trailer_field(source, 990), std::nullopt);
}

}  // namespace
}  // namespace ss
