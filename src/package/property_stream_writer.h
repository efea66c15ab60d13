#pragma once
// Writing property streams, as the authoring tool does: "TPF0", the class name, the object
// name, the properties, then 00 00 (end of properties, empty child list).
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace ss {

class PropertyStreamWriter {
 public:
  explicit PropertyStreamWriter(std::string_view class_name, std::string_view object_name = {});

  // Integers take the smallest of tags 2, 3 and 4 that holds them.
  void write_integer(std::string_view name, int32_t value);
  void write_boolean(std::string_view name, bool value);
  // Tag 6 up to 255 bytes, tag 12 beyond.
  void write_text(std::string_view name, std::string_view value);
  void write_identifier(std::string_view name, std::string_view identifier);
  void write_set(std::string_view name, std::span<const std::string_view> elements);
  void write_binary(std::string_view name, std::span<const uint8_t> bytes);

  // Ends the stream and hands over its bytes; the writer is spent afterwards.
  std::vector<uint8_t> finish();

 private:
  void put(uint8_t byte) { bytes_.push_back(byte); }
  void put_u32(uint32_t value);
  void put_bytes(std::span<const uint8_t> bytes);
  // Raises std::length_error for more than 255 bytes: names are the program's own.
  void put_short_string(std::string_view text);

  std::vector<uint8_t> bytes_;
};

}  // namespace ss
