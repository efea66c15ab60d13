#pragma once
// Building property streams byte by byte, for cases the writer never produces.
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_source.h"
#include "base/error.h"
#include "package/property_table.h"

namespace ss::test {

struct StreamBytes {
  std::vector<uint8_t> bytes;

  StreamBytes& u8(std::initializer_list<int> values) {
    for (int v : values) bytes.push_back(static_cast<uint8_t>(v));
    return *this;
  }
  StreamBytes& u32(uint32_t v) {
    for (int s = 0; s < 32; s += 8) bytes.push_back(static_cast<uint8_t>(v >> s));
    return *this;
  }
  StreamBytes& chars(std::string_view text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    return *this;
  }
  // A short string: length byte, then the text.
  StreamBytes& str(std::string_view text) {
    bytes.push_back(static_cast<uint8_t>(text.size()));
    return chars(text);
  }
  StreamBytes& append(const std::vector<uint8_t>& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return *this;
  }
  size_t size() const { return bytes.size(); }
};

// "TPF0", the class name, an object name.
inline StreamBytes stream_header(std::string_view class_name, std::string_view object_name = {}) {
  StreamBytes s;
  s.chars("TPF0").str(class_name).str(object_name);
  return s;
}

// The message of the SaverError that `action` raises; fails the test when it raises none.
template <class Action>
std::string error_of(Action&& action) {
  try {
    action();
  } catch (const SaverError& e) {
    return e.what();
  }
  return "(no error)";
}

}  // namespace ss::test
