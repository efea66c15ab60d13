#pragma once
// The value tags of a property stream and the conversions of their payloads that need more
// than a byte copy: 80-bit extended floats and wide or UTF-8 texts.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace ss {

enum class ValueTag : uint8_t {
  Null = 0,  // also ends lists, collections and property lists
  List = 1,
  Int8 = 2,
  Int16 = 3,
  Int32 = 4,
  Extended = 5,
  String = 6,
  Ident = 7,
  False = 8,
  True = 9,
  Binary = 10,
  Set = 11,
  LString = 12,
  Nil = 13,
  Collection = 14,
  Single = 15,
  Currency = 16,
  Date = 17,
  WString = 18,
  Int64 = 19,
  Utf8String = 20,
};

inline constexpr uint8_t kLastValueTag = 20;

constexpr uint8_t tag_byte(ValueTag tag) {
  return static_cast<uint8_t>(tag);
}
constexpr bool is_integer_tag(uint8_t tag) {
  return tag >= 2 && tag <= 4;
}

// Decodes an x87 80-bit extended value (8-byte mantissa with explicit integer bit, then sign
// and 15-bit exponent, little-endian) without relying on the host's long double.
double decode_extended(std::span<const uint8_t, 10> bytes);

// Texts are held as 8-bit Windows-1252. Characters of wide and UTF-8 texts that the code page
// has are converted; every other character, and every malformed sequence, becomes '?'.
std::string utf16le_to_ansi(std::span<const uint8_t> bytes);
std::string utf8_to_ansi(std::string_view text);
char code_point_to_ansi(uint32_t code_point);

}  // namespace ss
