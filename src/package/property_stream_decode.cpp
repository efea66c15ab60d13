// Decoding one tagged value by the declared type of the property that receives it.
#include <array>

#include "base/error.h"
#include "base/text.h"
#include "package/property_stream_reader.h"
#include "package/stream_values.h"

namespace ss {

int32_t PropertyStreamReader::read_integer(uint8_t tag) {
  switch (static_cast<ValueTag>(tag)) {
    case ValueTag::Int8:
      return static_cast<int8_t>(in_.read_byte());
    case ValueTag::Int16:
      return static_cast<int16_t>(in_.read_u16());
    case ValueTag::Int32:
      return static_cast<int32_t>(in_.read_u32());
    default:
      throw SaverError(kInvalidPropertyValue);
  }
}

int64_t PropertyStreamReader::read_int64(uint8_t tag) {
  if (tag == tag_byte(ValueTag::Int64)) return static_cast<int64_t>(in_.read_u64());
  return read_integer(tag);
}

double PropertyStreamReader::read_float(uint8_t tag) {
  if (tag == tag_byte(ValueTag::Extended)) {
    std::array<uint8_t, 10> bytes;
    in_.read(bytes.data(), bytes.size());
    return decode_extended(bytes);
  }
  return static_cast<double>(read_int64(tag));
}

std::string PropertyStreamReader::read_text(uint8_t tag) {
  switch (static_cast<ValueTag>(tag)) {
    case ValueTag::String:
      return read_short_string();
    case ValueTag::LString:
    case ValueTag::Utf8String: {
      const uint32_t length = in_.read_u32();
      in_.require(length);
      std::string text(length, '\0');
      in_.read(text.data(), text.size());
      return tag == tag_byte(ValueTag::Utf8String) ? utf8_to_ansi(text) : text;
    }
    case ValueTag::WString: {
      const uint64_t length = uint64_t{in_.read_u32()} * 2;
      in_.require(length);
      std::vector<uint8_t> bytes(static_cast<size_t>(length));
      in_.read(bytes.data(), bytes.size());
      return utf16le_to_ansi(bytes);
    }
    default:
      throw SaverError(kInvalidPropertyValue);
  }
}

// The name an enumeration value carries: an identifier, or the fixed names of tags 8, 9, 0, 13.
std::string PropertyStreamReader::read_identifier_for(uint8_t tag) {
  switch (static_cast<ValueTag>(tag)) {
    case ValueTag::Ident:
      return read_short_string();
    case ValueTag::False:
      return "False";
    case ValueTag::True:
      return "True";
    case ValueTag::Null:
      return "Null";
    case ValueTag::Nil:
      return "nil";
    default:
      throw SaverError(kInvalidPropertyValue);
  }
}

uint32_t PropertyStreamReader::read_set(const PropertyDecl& property) {
  uint32_t bits = 0;
  for (std::string name = read_short_string(); !name.empty(); name = read_short_string()) {
    size_t i = 0;
    while (i < property.members.size() && i < 32 && !iequals(property.members[i], name)) ++i;
    if (i == property.members.size() || i == 32) throw SaverError(kInvalidPropertyValue);
    bits |= uint32_t{1} << i;
  }
  return bits;
}

std::vector<uint8_t> PropertyStreamReader::read_binary() {
  const uint32_t length = in_.read_u32();
  in_.require(length);
  std::vector<uint8_t> bytes(length);
  in_.read(bytes.data(), bytes.size());
  return bytes;
}

PropertyValue PropertyStreamReader::decode(uint8_t tag, const PropertyDecl& property) {
  const auto value_tag = static_cast<ValueTag>(tag);
  switch (property.type) {
    case PropertyType::Integer:
      if (is_integer_tag(tag)) return read_integer(tag);
      break;
    case PropertyType::IdentInteger:
      if (is_integer_tag(tag)) return read_integer(tag);
      if (value_tag == ValueTag::Ident) {
        if (auto value = find_identifier_value(property.identifiers, read_short_string()))
          return *value;
      }
      break;
    case PropertyType::Boolean:
      if (value_tag == ValueTag::False) return false;
      if (value_tag == ValueTag::True) return true;
      if (value_tag == ValueTag::Ident) {
        const std::string name = read_short_string();
        if (iequals(name, "False")) return false;
        if (iequals(name, "True")) return true;
        return std::monostate{};  // not rejected; the property keeps its value
      }
      break;
    case PropertyType::Enumeration: {
      const std::string name = read_identifier_for(tag);
      for (size_t i = 0; i < property.members.size(); ++i)
        if (iequals(property.members[i], name)) return static_cast<int32_t>(i);
      return std::monostate{};  // not rejected; the property keeps its value
    }
    case PropertyType::Text:
      if (value_tag == ValueTag::String || value_tag == ValueTag::LString ||
          value_tag == ValueTag::WString || value_tag == ValueTag::Utf8String)
        return read_text(tag);
      break;
    case PropertyType::Set:
      if (value_tag == ValueTag::Set) return read_set(property);
      break;
    case PropertyType::Float:
      if (value_tag == ValueTag::Extended || value_tag == ValueTag::Int64 || is_integer_tag(tag))
        return read_float(tag);
      break;
    case PropertyType::Int64:
      if (value_tag == ValueTag::Int64 || is_integer_tag(tag)) return read_int64(tag);
      break;
    case PropertyType::Binary:
      if (value_tag == ValueTag::Binary) return read_binary();
      break;
  }
  throw SaverError(kInvalidPropertyValue);
}

}  // namespace ss
