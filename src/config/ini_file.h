#pragma once
// INI files read and written with the rules of the Windows profile functions, on every system,
// so that a file written on one side reads the same on the other:
// - "[name]" heads a section; "key=value" lines follow; any other line is kept and never matches.
// - Section and key names match without regard to ASCII case; blanks around names and values are
//   dropped, and a value in matching double or single quotes loses them.
// - A read takes the first matching key of any matching section.
// - A write changes that key's line only, or adds the key at the end of the first matching
//   section, or adds the section at the end of the file; every other byte stays as it was, and
//   added lines take the file's own line ending (CRLF for a new file).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace ss {

// The value of section/key in INI text, as the profile functions return it.
std::optional<std::string> find_profile_value(std::string_view text, std::string_view section,
                                              std::string_view key);

// The INI text with section/key set to value. Names must be non-empty and, like the value, hold
// no line break; a key may not contain '=' nor a section ']'. Otherwise throws SaverError.
std::string with_profile_value(std::string_view text, std::string_view section,
                               std::string_view key, std::string_view value);

// A profile value as an integer: more than two characters beginning "0x" or "0X" are hexadecimal
// digits after the prefix (up to 32 bits), anything else an optionally signed decimal. Nothing
// when the text does not convert.
std::optional<int32_t> parse_profile_integer(std::string_view text);

// One INI file on disk. Nothing is cached: every call reads the file afresh.
class IniFile {
 public:
  IniFile(FileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}

  const std::string& path() const { return path_; }

  // `fallback` when the file, section or key is missing or the file cannot be read.
  std::string read_string(std::string_view section, std::string_view key,
                          std::string_view fallback) const;
  // `fallback` also when the value does not convert.
  int32_t read_integer(std::string_view section, std::string_view key, int32_t fallback) const;

  // Stores the value, creating the file or section when missing. The new text goes to a file
  // beside this one that then replaces it, so a failed write leaves the old file whole; where no
  // file can be made beside it, the file is rewritten in place. Throws SaverError "Unable to
  // write to %s" with the path when the system refuses.
  void write_string(std::string_view section, std::string_view key, std::string_view value);

 private:
  FileSystem& files_;
  std::string path_;
};

}  // namespace ss
