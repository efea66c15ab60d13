#include "package/property_stream_writer.h"

#include <cstring>
#include <stdexcept>
#include <string>

#include "package/stream_values.h"

namespace ss {

PropertyStreamWriter::PropertyStreamWriter(std::string_view class_name,
                                           std::string_view object_name) {
  put_bytes({reinterpret_cast<const uint8_t*>("TPF0"), 4});
  put_short_string(class_name);
  put_short_string(object_name);
}

void PropertyStreamWriter::put_u32(uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) put(static_cast<uint8_t>(value >> shift));
}

void PropertyStreamWriter::put_bytes(std::span<const uint8_t> bytes) {
  // resize + memcpy rather than insert: GCC 12 at -O3 misreads the insert as an overflow.
  if (bytes.empty()) return;
  const size_t at = bytes_.size();
  bytes_.resize(at + bytes.size());
  std::memcpy(bytes_.data() + at, bytes.data(), bytes.size());
}

void PropertyStreamWriter::put_short_string(std::string_view text) {
  if (text.size() > 255) throw std::length_error("short string longer than 255 bytes");
  put(static_cast<uint8_t>(text.size()));
  put_bytes({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

void PropertyStreamWriter::write_integer(std::string_view name, int32_t value) {
  put_short_string(name);
  if (value >= INT8_MIN && value <= INT8_MAX) {
    put(tag_byte(ValueTag::Int8));
    put(static_cast<uint8_t>(value));
  } else if (value >= INT16_MIN && value <= INT16_MAX) {
    put(tag_byte(ValueTag::Int16));
    put(static_cast<uint8_t>(value));
    put(static_cast<uint8_t>(value >> 8));
  } else {
    put(tag_byte(ValueTag::Int32));
    put_u32(static_cast<uint32_t>(value));
  }
}

void PropertyStreamWriter::write_boolean(std::string_view name, bool value) {
  put_short_string(name);
  put(tag_byte(value ? ValueTag::True : ValueTag::False));
}

void PropertyStreamWriter::write_text(std::string_view name, std::string_view value) {
  put_short_string(name);
  if (value.size() <= 255) {
    put(tag_byte(ValueTag::String));
    put_short_string(value);
    return;
  }
  if (value.size() > UINT32_MAX) throw std::length_error("text longer than 4 GiB");
  put(tag_byte(ValueTag::LString));
  put_u32(static_cast<uint32_t>(value.size()));
  put_bytes({reinterpret_cast<const uint8_t*>(value.data()), value.size()});
}

void PropertyStreamWriter::write_identifier(std::string_view name, std::string_view identifier) {
  put_short_string(name);
  put(tag_byte(ValueTag::Ident));
  put_short_string(identifier);
}

void PropertyStreamWriter::write_set(std::string_view name,
                                     std::span<const std::string_view> elements) {
  put_short_string(name);
  put(tag_byte(ValueTag::Set));
  for (std::string_view element : elements) put_short_string(element);
  put(0);
}

void PropertyStreamWriter::write_binary(std::string_view name, std::span<const uint8_t> bytes) {
  if (bytes.size() > UINT32_MAX) throw std::length_error("binary value longer than 4 GiB");
  put_short_string(name);
  put(tag_byte(ValueTag::Binary));
  put_u32(static_cast<uint32_t>(bytes.size()));
  put_bytes(bytes);
}

std::vector<uint8_t> PropertyStreamWriter::finish() {
  put(0);  // end of the property list
  put(0);  // end of the (empty) child list
  return std::move(bytes_);
}

}  // namespace ss
