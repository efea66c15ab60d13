#pragma once
// Small text conversions that several readers share.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ss {

// An optional sign followed by decimal digits, nothing else, within the 32-bit signed range.
std::optional<int32_t> parse_int32(std::string_view text);

// Strips leading and trailing characters whose code is 32 or less (blanks, controls, NUL).
std::string_view trim_blanks(std::string_view text);

// ASCII-only case folding: the system compares names and switches this way.
std::string ascii_upper(std::string_view text);
std::string ascii_lower(std::string_view text);
bool iequals(std::string_view a, std::string_view b);

// The Unicode character of a Windows-1252 byte. The five bytes the code page leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control of the same number.
uint32_t cp1252_to_unicode(uint8_t byte);

// The ANSI code page a font's charset selects, and back. DEFAULT_CHARSET (and any charset
// without a code page of its own) reads as 1252; 1252 is written as DEFAULT_CHARSET.
int code_page_for_charset(int32_t charset);
std::optional<int32_t> charset_for_code_page(int code_page);

}  // namespace ss
