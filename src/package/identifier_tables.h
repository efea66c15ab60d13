#pragma once
// Identifier tables: the names under which some integer properties (font charset and colour)
// are written in a property stream. Names match without regard to ASCII letter case.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ss {

struct Identifier {
  std::string_view name;
  int32_t value;
};

using IdentifierTable = std::span<const Identifier>;

// ANSI_CHARSET = 0 ... OEM_CHARSET = 255 (18 names).
IdentifierTable charset_identifiers();
// clBlack ... clMenuBar (52 names); system colours are FF000000 hex plus their index.
IdentifierTable color_identifiers();

std::optional<int32_t> find_identifier_value(IdentifierTable table, std::string_view name);
// The first name that stands for `value`, if any.
std::optional<std::string_view> find_identifier_name(IdentifierTable table, int32_t value);

}  // namespace ss
