#pragma once
// Joining a file name to a folder and splitting a path, byte by byte in the system's ANSI code
// page: in a double-byte code page the second byte of a character may be 0x5C (the second byte
// of "表" in Shift-JIS is), and such a byte is part of the character, not a separator.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace ss {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The bytes that begin a two-byte character in a code page. The default has none: a
// single-byte code page, or UTF-8, where no byte of a character is ever 0x5C or '/'.
class LeadBytes {
 public:
  LeadBytes() = default;
  // The double-byte code pages of the East Asian systems: 932 (Japanese), 936 (Simplified
  // Chinese), 949 (Korean) and 950 (Traditional Chinese); any other code page has none.
  static LeadBytes of_code_page(uint32_t code_page);
  // The bytes for which `is_lead` holds (the system's own test).
  template <class Test>
  static LeadBytes where(Test is_lead) {
    LeadBytes bytes;
    for (unsigned b = 0; b < 256; ++b) bytes.lead_[b] = is_lead(static_cast<uint8_t>(b));
    return bytes;
  }

  bool operator()(uint8_t byte) const { return lead_[byte]; }
  bool any() const;

 private:
  std::array<bool, 256> lead_{};
};

// One separator between them unless the folder already ends with one.
std::string join_path(std::string_view folder, std::string_view name,
                      char separator = kPathSeparator, const LeadBytes& lead = {});

// The folder part of a path, up to and including its last separator ('\' or '/').
std::string folder_of(std::string_view path, const LeadBytes& lead = {});
// The file-name part of a path, after its last separator.
std::string file_name_of(std::string_view path, const LeadBytes& lead = {});

}  // namespace ss
