#include "package/safe_file_name.h"

#include <array>

#include "base/error.h"
#include "base/text.h"

namespace ss {
namespace {

constexpr size_t kMaxNameBytes = 255;
constexpr size_t kMaxShownBytes = 80;

bool is_forbidden_char(char c) {
  const auto code = static_cast<unsigned char>(c);
  if (code < 32) return true;
  constexpr std::string_view kReserved = "/\\:<>\"|?*";
  return kReserved.find(c) != std::string_view::npos;
}

// COM and LPT take a digit, and also the superscripts 1 to 3 of the ANSI code page.
bool is_port_digit(char c) {
  const auto code = static_cast<unsigned char>(c);
  return (c >= '0' && c <= '9') || code == 0xB9 || code == 0xB2 || code == 0xB3;
}

// The system resolves these names to devices whatever their extension, and ignores blanks before
// the extension: "nul.txt" and "Nul .mid" both open the null device.
bool is_device_name(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  static constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN",    "AUX",
                                                               "NUL", "CONIN$", "CONOUT$"};
  for (std::string_view device : kDevices)
    if (iequals(stem, device)) return true;
  return stem.size() == 4 &&
         (iequals(stem.substr(0, 3), "COM") || iequals(stem.substr(0, 3), "LPT")) &&
         is_port_digit(stem[3]);
}

}  // namespace

bool is_safe_file_name(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameBytes) return false;
  for (char c : name)
    if (is_forbidden_char(c)) return false;
  // Trailing dots and blanks are dropped by the system, so "a." would name "a"; this also refuses
  // "." and "..".
  if (name.back() == '.' || name.back() == ' ') return false;
  return !is_device_name(name);
}

void require_safe_file_name(std::string_view name) {
  if (is_safe_file_name(name)) return;
  std::string message = "Unsafe media file name \"";
  message.append(printable_name(name)).append("\"");
  throw SaverError(message);
}

std::string printable_name(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown;
  for (size_t i = 0; i < name.size() && i < kMaxShownBytes; ++i) {
    const auto code = static_cast<unsigned char>(name[i]);
    if (code < 32 || code == 127) {
      shown += "\\x";
      shown += kHex[code >> 4];
      shown += kHex[code & 15];
    } else {
      shown += name[i];
    }
  }
  if (name.size() > kMaxShownBytes) shown += "...";
  return shown;
}

}  // namespace ss
