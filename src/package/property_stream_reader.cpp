#include "package/property_stream_reader.h"

#include <cstring>
#include <new>

#include "base/error.h"
#include "package/stream_values.h"

namespace ss {

std::string class_not_found_message(std::string_view class_name) {
  return "Class " + std::string(class_name) + " not found";
}

std::string unknown_property_message(std::string_view property_name) {
  return "Property " + std::string(property_name) + " does not exist";
}

std::string invalid_component_name_message(std::string_view object_name) {
  return "''" + std::string(object_name) + "'' is not a valid component name";
}

std::string error_reading_message(std::string_view root_name, std::string_view property_name,
                                  std::string_view message) {
  std::string text = "Error reading ";
  text.append(root_name).append(".").append(property_name).append(": ").append(message);
  return text;
}

bool is_valid_component_name(std::string_view name) {
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (name.empty()) return true;
  if (!letter(name[0])) return false;
  for (char c : name.substr(1))
    if (!letter(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

StreamHeader PropertyStreamReader::read_header() {
  StreamHeader header;
  header.class_name = read_class_name();
  header.object_name = read_object_name();
  return header;
}

std::string PropertyStreamReader::read_class_name() {
  char signature[4];
  in_.read(signature, sizeof signature);
  if (std::memcmp(signature, "TPF0", 4) != 0) throw SaverError(kInvalidStreamFormat);
  read_prefix();
  return read_short_string();
}

std::string PropertyStreamReader::read_object_name() {
  std::string name = read_short_string();
  if (!is_valid_component_name(name)) throw SaverError(invalid_component_name_message(name));
  return name;
}

// A prefix byte (F0 hex or above) carries flags; flag 2 means a child position follows. The
// root object uses neither.
void PropertyStreamReader::read_prefix() {
  if ((in_.peek_byte() & 0xF0) != 0xF0) return;
  const uint8_t flags = in_.read_byte() & 0x0F;
  if (flags & 2) {
    const uint8_t tag = in_.read_byte();
    if (!is_integer_tag(tag)) throw SaverError(kInvalidPropertyValue);
    read_integer(tag);
  }
}

std::string PropertyStreamReader::read_short_string() {
  std::string text(in_.read_byte(), '\0');
  in_.read(text.data(), text.size());
  return text;
}

void PropertyStreamReader::read_body(PropertySink& sink, std::string_view root_name) {
  for (;;) {
    // The name's own bytes lie outside any property: a stream cut there fails unwrapped.
    std::string name = read_short_string();
    if (name.empty()) break;
    try {
      const uint8_t tag = in_.read_byte();
      const PropertyDecl* property = sink.find(name);
      if (!property) {
        skip_value(tag);
        throw SaverError(unknown_property_message(name));
      }
      sink.store(*property, decode(tag, *property));
    } catch (const std::bad_alloc&) {
      throw;
    } catch (const std::exception& e) {
      throw SaverError(error_reading_message(root_name, name, e.what()));
    }
  }
  skip_child_list();
}

// Child objects never occur in package streams; any that do are read past, each built like the
// root (prefix, class, name, properties, children). A count of open child lists replaces
// recursion, so deep nesting cannot exhaust the stack.
void PropertyStreamReader::skip_child_list() {
  uint64_t open_lists = 1;
  while (open_lists) {
    if (in_.peek_byte() == 0) {
      in_.read_byte();
      --open_lists;
      continue;
    }
    read_prefix();
    in_.skip(in_.read_byte());  // class name
    in_.skip(in_.read_byte());  // object name
    while (const uint8_t length = in_.read_byte()) {
      in_.skip(length);
      skip_value(in_.read_byte());
    }
    ++open_lists;  // the child's own child list
  }
}

void read_stream_into(ByteSource& source, PropertySink& sink, std::string_view record_class) {
  PropertyStreamReader reader(source);
  const StreamHeader header = reader.read_header();
  reader.read_body(sink, header.object_name.empty() ? record_class : header.object_name);
}

}  // namespace ss
