#include "base/text.h"

#include <array>
#include <limits>

namespace ss {

std::optional<int32_t> parse_int32(std::string_view text) {
  if (text.empty()) return std::nullopt;
  size_t i = 0;
  bool negative = false;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    i = 1;
  }
  if (i == text.size()) return std::nullopt;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::string_view trim_blanks(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string ascii_upper(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string ascii_lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool iequals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

namespace {

struct CodePageCharset {
  int code_page;
  int32_t charset;
};

constexpr std::array<CodePageCharset, 11> kCodePages = {{{1252, 1},
                                                         {1250, 238},
                                                         {1251, 204},
                                                         {1253, 161},
                                                         {1254, 162},
                                                         {1255, 177},
                                                         {1256, 178},
                                                         {1257, 186},
                                                         {1258, 163},
                                                         {874, 222},
                                                         {932, 128}}};

}  // namespace

uint32_t cp1252_to_unicode(uint8_t byte) {
  static constexpr std::array<uint16_t, 32> kHigh = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  if (byte >= 0x80 && byte <= 0x9F) return kHigh[byte - 0x80];
  return byte;
}

int code_page_for_charset(int32_t charset) {
  for (const CodePageCharset& entry : kCodePages)
    if (entry.charset == charset) return entry.code_page;
  return 1252;
}

std::optional<int32_t> charset_for_code_page(int code_page) {
  for (const CodePageCharset& entry : kCodePages)
    if (entry.code_page == code_page) return entry.charset;
  return std::nullopt;
}

}  // namespace ss
