#pragma once
// A record's property table: for every dotted property name a stream may carry, the declared
// type that decides which value tags are accepted, and the operation that stores the value.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "base/comma_list.h"
#include "package/identifier_tables.h"

namespace ss {

enum class PropertyType : uint8_t {
  Integer,       // tags 2, 3, 4
  IdentInteger,  // tag 7 through the identifier table, or tags 2, 3, 4
  Boolean,       // tags 8, 9, or tag 7 holding False or True
  Enumeration,   // tags 7, 8, 9, 0, 13 read as a member name
  Text,          // tags 6, 12, 18, 20
  Set,           // tag 11
  Float,         // tags 5, 19, 2, 3, 4
  Int64,         // tags 19, 2, 3, 4
  Binary,        // tag 10
};

// A decoded value, by declared type: Integer, IdentInteger and Enumeration (the member's
// position) give int32_t, Set gives uint32_t bits, Text gives std::string, Binary the bytes.
// std::monostate stands for an enumeration or boolean identifier that names no member: such a
// value is accepted and leaves the property as it was.
using PropertyValue = std::variant<std::monostate, int32_t, uint32_t, bool, double, int64_t,
                                   std::string, std::vector<uint8_t>>;

struct PropertyDecl {
  std::string_view name;  // full dotted name, e.g. "TextFont.Height"
  PropertyType type;
  IdentifierTable identifiers = {};                // IdentInteger
  std::span<const std::string_view> members = {};  // Enumeration and Set (bit n = member n)
};

// What the stream reader needs from a record.
class PropertySink {
 public:
  virtual ~PropertySink() = default;
  // Dotted names match segment by segment without regard to ASCII case; nullptr when the
  // record has no such property.
  virtual const PropertyDecl* find(std::string_view dotted_name) const = 0;
  // `property` is what find() returned; the value has its declared type's alternative.
  virtual void store(const PropertyDecl& property, PropertyValue&& value) = 0;
};

template <class Record>
struct PropertyEntry {
  PropertyDecl decl;
  void (*store)(Record&, PropertyValue&&);
};

bool property_name_matches(std::string_view declared, std::string_view dotted_name);

// Serves a record through its table of entries.
template <class Record>
class TablePropertySink final : public PropertySink {
 public:
  TablePropertySink(Record& record, std::span<const PropertyEntry<Record>> table)
      : record_(record), table_(table) {}

  const PropertyDecl* find(std::string_view dotted_name) const override {
    for (const PropertyEntry<Record>& entry : table_)
      if (property_name_matches(entry.decl.name, dotted_name)) return &entry.decl;
    return nullptr;
  }

  void store(const PropertyDecl& property, PropertyValue&& value) override {
    if (std::holds_alternative<std::monostate>(value)) return;
    for (const PropertyEntry<Record>& entry : table_)
      if (&entry.decl == &property) return entry.store(record_, std::move(value));
  }

 private:
  Record& record_;
  std::span<const PropertyEntry<Record>> table_;
};

// Stores a decoded value into a plain member: int32_t, bool, std::string, double, int64_t,
// byte vectors, and comma lists (set from comma text).
template <class Record, auto Member>
void store_member(Record& record, PropertyValue&& value) {
  auto& field = record.*Member;
  using Field = std::remove_cvref_t<decltype(field)>;
  if constexpr (std::is_same_v<Field, CommaList>)
    field.set_comma_text(std::get<std::string>(value));
  else
    field = std::get<Field>(std::move(value));
}

}  // namespace ss
