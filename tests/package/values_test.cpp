// Payload conversions: 80-bit extended floats and wide or UTF-8 texts to Windows-1252.
#include <gtest/gtest.h>

#include <cmath>

#include "package/stream_values.h"

namespace ss {
namespace {

TEST(ExtendedFloat, DecodesWithoutTheHostsLongDouble) {
  struct Case {
    std::array<uint8_t, 10> bytes;
    double value;
  };
  const Case cases[] = {
      {{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}, 1.0},
      {{0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0}, -2.5},
      {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0.0},
      {{0, 0, 0, 0, 0, 0, 0, 0x80, 0x0E, 0x40}, 32768.0},
      {{0xCD, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F}, 0.1},
      {{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}, HUGE_VAL},
      {{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF}, -HUGE_VAL},
      {{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x7F}, HUGE_VAL},  // beyond the double range
      {{0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x00}, 0.0},       // far below it
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(decode_extended(c.bytes), c.value) << c.value;
  const std::array<uint8_t, 10> nan = {1, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F};
  EXPECT_TRUE(std::isnan(decode_extended(nan)));
}

TEST(AnsiText, Utf8ConvertsWhereTheCodePageHasTheCharacter) {
  struct Case {
    std::string_view utf8;
    std::string_view ansi;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {"caf\xC3\xA9", "caf\xE9"},
      {"\xE2\x82\xAC 5", "\x80 5"},                // euro sign
      {"\xE2\x80\x9Cq\xE2\x80\x9D", "\x93q\x94"},  // curly quotes
      {"\xC2\x81", "\x81"},                        // one of the five bytes with no character
      {"\xE6\x97\xA5", "?"},                       // not in the code page
      {"\xF0\x9F\x98\x80!", "?!"},                 // outside the basic plane
      {"\xC3", "?"},                               // truncated sequence
      {"\xC0\x80", "??"},                          // overlong
      {"\xED\xA0\x80", "?"},                       // encoded surrogate
      {"\x80x", "?x"},                             // stray continuation byte
  };
  for (const Case& c : cases) EXPECT_EQ(utf8_to_ansi(c.utf8), c.ansi) << c.utf8;
}

TEST(AnsiText, Utf16ConvertsWhereTheCodePageHasTheCharacter) {
  struct Case {
    std::vector<uint8_t> utf16le;
    std::string_view ansi;
  };
  const Case cases[] = {
      {{'h', 0, 'i', 0}, "hi"},
      {{0xE9, 0x00, 0xAC, 0x20}, "\xE9\x80"},
      {{0x3D, 0xD8, 0x00, 0xDE, '!', 0}, "?!"},  // surrogate pair: one character
      {{0x00, 0xD8, 'x', 0}, "?x"},              // unpaired surrogate
      {{0x00, 0xDC}, "?"},
      {{0x65, 0x59}, "?"},
  };
  for (const Case& c : cases) EXPECT_EQ(utf16le_to_ansi(c.utf16le), c.ansi) << c.ansi;
}

}  // namespace
}  // namespace ss
