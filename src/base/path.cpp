#include "base/path.h"

#include <span>

namespace ss {
namespace {

struct ByteRange {
  uint8_t first, last;
};

// The position after the last separator, or npos; a lead byte and the byte after it are one
// character, whatever that second byte is.
size_t after_last_separator(std::string_view path, const LeadBytes& lead) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    const auto byte = static_cast<uint8_t>(path[i]);
    if (lead(byte) && i + 1 < path.size())
      ++i;
    else if (byte == '\\' || byte == '/')
      found = i + 1;
  }
  return found;
}

// Whether the last byte of a non-empty text is a character of its own, not the second byte of
// a double-byte one.
bool last_byte_stands_alone(std::string_view text, const LeadBytes& lead) {
  size_t i = 0;
  while (i + 1 < text.size()) i += lead(static_cast<uint8_t>(text[i])) ? 2 : 1;
  return i == text.size() - 1;
}

}  // namespace

LeadBytes LeadBytes::of_code_page(uint32_t code_page) {
  static constexpr ByteRange kShiftJis[] = {{0x81, 0x9F}, {0xE0, 0xFC}};
  static constexpr ByteRange kEastAsian[] = {{0x81, 0xFE}};  // GBK, Unified Hangul, Big5
  std::span<const ByteRange> ranges;
  if (code_page == 932) ranges = kShiftJis;
  if (code_page == 936 || code_page == 949 || code_page == 950) ranges = kEastAsian;
  return where([ranges](uint8_t byte) {
    for (const ByteRange& r : ranges)
      if (byte >= r.first && byte <= r.last) return true;
    return false;
  });
}

bool LeadBytes::any() const {
  for (bool b : lead_)
    if (b) return true;
  return false;
}

std::string join_path(std::string_view folder, std::string_view name, char separator,
                      const LeadBytes& lead) {
  std::string out(folder);
  if (out.empty() || out.back() != separator || !last_byte_stands_alone(folder, lead))
    out += separator;
  out += name;
  return out;
}

std::string folder_of(std::string_view path, const LeadBytes& lead) {
  const size_t cut = after_last_separator(path, lead);
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut));
}

std::string file_name_of(std::string_view path, const LeadBytes& lead) {
  const size_t cut = after_last_separator(path, lead);
  return std::string(cut == std::string_view::npos ? path : path.substr(cut));
}

}  // namespace ss
