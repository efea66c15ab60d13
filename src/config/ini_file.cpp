#include "config/ini_file.h"

#include <random>
#include <span>
#include <vector>

#include "base/error.h"
#include "base/text.h"

namespace ss {
namespace {

std::string_view trim_profile_blanks(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\v\f";
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string_view unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

struct IniLine {
  enum Kind { kOther, kBlank, kSection, kKey };
  size_t begin = 0;  // the line's text is [begin, end), without its line break
  size_t end = 0;
  size_t next = 0;  // the first byte after the line break
  Kind kind = kOther;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // a key's value, trimmed, quotes still on
};

IniLine classify(std::string_view content) {
  IniLine line;
  const std::string_view text = trim_profile_blanks(content);
  if (text.empty()) {
    line.kind = IniLine::kBlank;
  } else if (text.front() == '[') {
    line.kind = IniLine::kSection;
    const size_t close = text.rfind(']');
    line.name =
        trim_profile_blanks(text.substr(1, close == std::string_view::npos ? close : close - 1));
  } else if (const size_t equals = text.find('='); equals != std::string_view::npos) {
    line.kind = IniLine::kKey;
    line.name = trim_profile_blanks(text.substr(0, equals));
    line.value = trim_profile_blanks(text.substr(equals + 1));
  }
  return line;
}

std::vector<IniLine> split_lines(std::string_view text) {
  std::vector<IniLine> lines;
  // A byte-order mark at the start belongs to no line's text.
  size_t position = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  while (position < text.size()) {
    const size_t newline = text.find('\n', position);
    const size_t next = newline == std::string_view::npos ? text.size() : newline + 1;
    size_t end = newline == std::string_view::npos ? text.size() : newline;
    if (end > position && text[end - 1] == '\r') --end;
    IniLine line = classify(text.substr(position, end - position));
    line.begin = position;
    line.end = end;
    line.next = next;
    lines.push_back(line);
    position = next;
  }
  return lines;
}

std::string line_ending_of(std::string_view text) {
  const size_t newline = text.find('\n');
  if (newline == std::string_view::npos) return "\r\n";
  return newline > 0 && text[newline - 1] == '\r' ? "\r\n" : "\n";
}

void check_profile_entry(std::string_view section, std::string_view key, std::string_view value) {
  auto has_break = [](std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
  };
  const bool valid = !trim_profile_blanks(section).empty() && !trim_profile_blanks(key).empty() &&
                     !has_break(section) && !has_break(key) && !has_break(value) &&
                     section.find(']') == std::string_view::npos &&
                     key.find('=') == std::string_view::npos && key.front() != '[';
  if (valid) return;
  std::string message = "Invalid profile entry [";
  message.append(section).append("] ").append(key);
  throw SaverError(message);
}

std::string spliced(std::string_view text, size_t from, size_t to, std::string_view insert) {
  std::string out;
  out.reserve(text.size() + insert.size());
  out.append(text.substr(0, from)).append(insert).append(text.substr(to));
  return out;
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

SaverError unable_to_write(const std::string& path) {
  return SaverError("Unable to write to " + path);
}

}  // namespace

std::optional<std::string> find_profile_value(std::string_view text, std::string_view section,
                                              std::string_view key) {
  bool in_section = false;
  for (const IniLine& line : split_lines(text)) {
    if (line.kind == IniLine::kSection)
      in_section = iequals(line.name, section);
    else if (in_section && line.kind == IniLine::kKey && iequals(line.name, key))
      return std::string(unquoted(line.value));
  }
  return std::nullopt;
}

std::string with_profile_value(std::string_view text, std::string_view section,
                               std::string_view key, std::string_view value) {
  check_profile_entry(section, key, value);
  const std::vector<IniLine> lines = split_lines(text);
  const std::string eol = line_ending_of(text);
  bool in_section = false;
  bool in_first_section = false;
  std::optional<size_t> first_section_last;  // the last non-blank line of the first match
  for (size_t j = 0; j < lines.size(); ++j) {
    const IniLine& line = lines[j];
    if (line.kind == IniLine::kSection) {
      in_section = iequals(line.name, section);
      in_first_section = in_section && !first_section_last;
      if (in_first_section) first_section_last = j;
      continue;
    }
    if (!in_section) continue;
    if (line.kind == IniLine::kKey && iequals(line.name, key))
      return spliced(text, line.begin, line.end, std::string(line.name) + "=" + std::string(value));
    if (in_first_section && line.kind != IniLine::kBlank) first_section_last = j;
  }
  const std::string entry = std::string(key) + "=" + std::string(value) + eol;
  const bool open_last_line = !text.empty() && text.back() != '\n';
  if (first_section_last) {
    const size_t at = lines[*first_section_last].next;
    const bool needs_break = at == text.size() && open_last_line;
    return spliced(text, at, at, (needs_break ? eol : "") + entry);
  }
  return std::string(text) + (open_last_line ? eol : "") + "[" + std::string(section) + "]" + eol +
         entry;
}

std::optional<int32_t> parse_profile_integer(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    uint64_t value = 0;
    for (char c : text.substr(2)) {
      const int digit = hex_digit(c);
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<uint64_t>(digit);
      if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
  }
  return parse_int32(text);
}

std::string IniFile::read_string(std::string_view section, std::string_view key,
                                 std::string_view fallback) const {
  const std::optional<std::string> text = files_.read_file(path_);
  if (!text) return std::string(fallback);
  return find_profile_value(*text, section, key).value_or(std::string(fallback));
}

int32_t IniFile::read_integer(std::string_view section, std::string_view key,
                              int32_t fallback) const {
  const std::optional<std::string> text = files_.read_file(path_);
  if (!text) return fallback;
  const std::optional<std::string> value = find_profile_value(*text, section, key);
  if (!value) return fallback;
  return parse_profile_integer(*value).value_or(fallback);
}

namespace {

std::span<const uint8_t> bytes_of(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// Writes the text to a new file beside `path` and moves it over `path`. False when no file can be
// made there or the move is refused; throws when writing the new file fails, since the same
// would then happen in place, after the old contents were already gone.
bool replace_through_new_file(FileSystem& files, const std::string& path, const std::string& text) {
  std::random_device random;
  const std::string new_path = path + "." + std::to_string(random()) + ".tmp";
  std::unique_ptr<OutputFile> out;
  try {
    out = files.create_file(new_path);
  } catch (const SaverError&) {
    return false;
  }
  try {
    out->write(bytes_of(text));
    out->close();
  } catch (const SaverError&) {
    out.reset();
    files.delete_file(new_path);
    throw unable_to_write(path);
  }
  if (files.replace_file(new_path, path)) return true;
  files.delete_file(new_path);
  return false;
}

void rewrite_in_place(FileSystem& files, const std::string& path, const std::string& text) {
  try {
    const std::unique_ptr<OutputFile> out = files.create_file(path);
    out->write(bytes_of(text));
    out->close();
  } catch (const SaverError&) {
    throw unable_to_write(path);
  }
}

}  // namespace

void IniFile::write_string(std::string_view section, std::string_view key, std::string_view value) {
  const std::optional<std::string> old = files_.read_file(path_);
  // A file that exists but cannot be read must not be replaced by one holding only this key.
  if (!old && files_.file_exists(path_)) throw unable_to_write(path_);
  const std::string text = with_profile_value(old.value_or(""), section, key, value);
  if (old && text == *old) return;
  if (!replace_through_new_file(files_, path_, text)) rewrite_in_place(files_, path_, text);
}

}  // namespace ss
