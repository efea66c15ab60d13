#pragma once
// A record with one property of every declared type, recording what the reader stores.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "package/identifier_tables.h"
#include "package/property_table.h"

namespace ss::test {

inline constexpr std::string_view kProbeChoices[] = {"False", "True", "Null", "nil", "Other"};
inline constexpr std::string_view kProbeStyles[] = {"fsBold", "fsItalic", "fsUnderline",
                                                    "fsStrikeOut"};

class ProbeSink final : public PropertySink {
 public:
  const PropertyDecl* find(std::string_view dotted_name) const override {
    for (const PropertyDecl& decl : decls_)
      if (property_name_matches(decl.name, dotted_name)) return &decl;
    return nullptr;
  }
  void store(const PropertyDecl& property, PropertyValue&& value) override {
    stored[std::string(property.name)] = std::move(value);
  }

  std::map<std::string, PropertyValue> stored;

 private:
  std::vector<PropertyDecl> decls_ = {
      {"Integer", PropertyType::Integer},
      {"Color", PropertyType::IdentInteger, color_identifiers()},
      {"Flag", PropertyType::Boolean},
      {"Choice", PropertyType::Enumeration, {}, kProbeChoices},
      {"Text", PropertyType::Text},
      {"Style", PropertyType::Set, {}, kProbeStyles},
      {"Real", PropertyType::Float},
      {"Big", PropertyType::Int64},
      {"Blob", PropertyType::Binary},
  };
};

}  // namespace ss::test
