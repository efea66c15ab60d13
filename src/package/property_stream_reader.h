#pragma once
// Reading property streams: the signature "TPF0", the root object's header, its property list
// decoded by each property's declared type, and a child list that is passed over.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/byte_source.h"
#include "package/buffered_reader.h"
#include "package/property_table.h"

namespace ss {

inline constexpr const char* kInvalidStreamFormat = "Invalid stream format";
inline constexpr const char* kInvalidPropertyValue = "Invalid property value";

std::string class_not_found_message(std::string_view class_name);
std::string unknown_property_message(std::string_view property_name);
std::string invalid_component_name_message(std::string_view object_name);
// "Error reading <root>.<property>: <message>", raised for any failure inside one property.
std::string error_reading_message(std::string_view root_name, std::string_view property_name,
                                  std::string_view message);

// An object name must be empty or an identifier: a letter or '_', then letters, digits, '_'.
bool is_valid_component_name(std::string_view name);

struct StreamHeader {
  std::string class_name;
  std::string object_name;
};

// Reads one stream from the source's current position. When the reader is destroyed the source
// stands just after the last byte it consumed, so the caller can go on with the same file.
class PropertyStreamReader {
 public:
  explicit PropertyStreamReader(ByteSource& source) : in_(source) {}

  // The signature, the optional prefix, the class name and the (validated) object name.
  StreamHeader read_header();
  // The same in two steps, so that a caller can look the class up before the name is checked.
  std::string read_class_name();
  std::string read_object_name();
  // The property list into `sink`, then the child list. A failure while reading one property
  // is raised as "Error reading <root_name>.<property>: <first message>".
  void read_body(PropertySink& sink, std::string_view root_name);

  // One tagged value, decoded by the declared type (raises "Invalid property value" for a tag
  // the type does not accept).
  PropertyValue read_value(const PropertyDecl& property) {
    return decode(in_.read_byte(), property);
  }
  // One tagged value, passed over by its tag. Nesting of any depth is handled without
  // recursion.
  void skip_value() { skip_value(in_.read_byte()); }

 private:
  void read_prefix();
  std::string read_short_string();
  int32_t read_integer(uint8_t tag);
  int64_t read_int64(uint8_t tag);
  double read_float(uint8_t tag);
  std::string read_text(uint8_t tag);
  std::string read_identifier_for(uint8_t tag);
  uint32_t read_set(const PropertyDecl& property);
  std::vector<uint8_t> read_binary();
  PropertyValue decode(uint8_t tag, const PropertyDecl& property);

  void skip_value(uint8_t tag);
  void skip_scalar(uint8_t tag);
  void skip_child_list();

  BufferedReader in_;
};

// Reads a whole stream into the record behind `sink`. The stream's class name is read and not
// compared; a failure inside a property names the record by its object name from the stream,
// or by `record_class` when that is empty. Values stored before a failure stay.
void read_stream_into(ByteSource& source, PropertySink& sink, std::string_view record_class);

}  // namespace ss
