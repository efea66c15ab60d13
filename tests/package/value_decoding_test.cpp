// Every value tag against every declared type: the value it decodes to, or the refusal.
#include <gtest/gtest.h>

#include <optional>

#include "package/property_stream_reader.h"
#include "probe_sink.h"
#include "stream_bytes.h"

namespace ss {
namespace {

using test::error_of;
using test::ProbeSink;
using test::StreamBytes;
using V = PropertyValue;

struct Sample {
  std::string_view label;
  std::vector<uint8_t> bytes;  // tag and payload
};

std::vector<uint8_t> with_text(std::initializer_list<int> head, std::string_view text,
                               std::initializer_list<int> tail = {}) {
  StreamBytes s;
  s.u8(head).chars(text).u8(tail);
  return s.bytes;
}

const std::vector<Sample>& samples() {
  static const std::vector<Sample> all = {
      {"null", {0}},
      {"list", {1, 2, 5, 0}},
      {"int8", {2, 0xFB}},
      {"int16", {3, 0x88, 0x13}},
      {"int32", {4, 0x60, 0x79, 0xFE, 0xFF}},
      {"extended", {5, 0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0}},
      {"string", with_text({6, 3}, "abc")},
      {"ident clRed", with_text({7, 5}, "clRed")},
      {"ident TRUE", with_text({7, 4}, "TRUE")},
      {"ident false", with_text({7, 5}, "false")},
      {"ident OTHER", with_text({7, 5}, "OTHER")},
      {"ident unknown", with_text({7, 4}, "Nope")},
      {"false", {8}},
      {"true", {9}},
      {"binary", {10, 2, 0, 0, 0, 0xAA, 0xBB}},
      {"set", with_text({11, 6},
                        "fsBold\x0b"
                        "fsUnderline",
                        {0})},
      {"set unknown", with_text({11, 7}, "fsBlink", {0})},
      {"lstring", with_text({12, 3, 0, 0, 0}, "xyz")},
      {"nil", {13}},
      {"collection", {14, 1, 0, 0}},
      {"single", {15, 0, 0, 0x80, 0x3F}},
      {"currency", {16, 0x10, 0x27, 0, 0, 0, 0, 0, 0}},
      {"date", {17, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
      {"wstring", {18, 2, 0, 0, 0, 'h', 0, 'i', 0}},
      {"int64", {19, 0, 0, 0, 0, 0, 1, 0, 0}},
      {"utf8", {20, 3, 0, 0, 0, 0xC3, 0xA9, 'x'}},
  };
  return all;
}

struct Accepted {
  std::string_view property;
  std::string_view sample;
  V value;
};

// Everything not listed here must be refused with "Invalid property value". monostate marks a
// boolean or enumeration identifier that names no member: accepted, nothing stored.
const std::vector<Accepted>& accepted() {
  static const std::vector<Accepted> all = {
      {"Integer", "int8", V{int32_t{-5}}},
      {"Integer", "int16", V{int32_t{5000}}},
      {"Integer", "int32", V{int32_t{-100000}}},
      {"Color", "int8", V{int32_t{-5}}},
      {"Color", "int16", V{int32_t{5000}}},
      {"Color", "int32", V{int32_t{-100000}}},
      {"Color", "ident clRed", V{int32_t{0x0000FF}}},
      {"Flag", "false", V{false}},
      {"Flag", "true", V{true}},
      {"Flag", "ident TRUE", V{true}},
      {"Flag", "ident false", V{false}},
      {"Flag", "ident clRed", V{}},
      {"Flag", "ident OTHER", V{}},
      {"Flag", "ident unknown", V{}},
      {"Choice", "false", V{int32_t{0}}},
      {"Choice", "true", V{int32_t{1}}},
      {"Choice", "null", V{int32_t{2}}},
      {"Choice", "nil", V{int32_t{3}}},
      {"Choice", "ident OTHER", V{int32_t{4}}},
      {"Choice", "ident TRUE", V{int32_t{1}}},
      {"Choice", "ident false", V{int32_t{0}}},
      {"Choice", "ident clRed", V{}},
      {"Choice", "ident unknown", V{}},
      {"Text", "string", V{std::string("abc")}},
      {"Text", "lstring", V{std::string("xyz")}},
      {"Text", "wstring", V{std::string("hi")}},
      {"Text", "utf8", V{std::string("\xE9x")}},
      {"Style", "set", V{uint32_t{0b101}}},
      {"Real", "extended", V{-2.5}},
      {"Real", "int8", V{-5.0}},
      {"Real", "int16", V{5000.0}},
      {"Real", "int32", V{-100000.0}},
      {"Real", "int64", V{1099511627776.0}},
      {"Big", "int8", V{int64_t{-5}}},
      {"Big", "int16", V{int64_t{5000}}},
      {"Big", "int32", V{int64_t{-100000}}},
      {"Big", "int64", V{int64_t{1} << 40}},
      {"Blob", "binary", V{std::vector<uint8_t>{0xAA, 0xBB}}},
  };
  return all;
}

std::optional<V> expected_for(std::string_view property, std::string_view sample) {
  for (const Accepted& a : accepted())
    if (a.property == property && a.sample == sample) return a.value;
  return std::nullopt;
}

TEST(DecodeByDeclaredType, EveryTagAgainstEveryType) {
  const std::string_view properties[] = {"Integer", "Color", "Flag", "Choice", "Text",
                                         "Style",   "Real",  "Big",  "Blob"};
  for (std::string_view property : properties) {
    for (const Sample& sample : samples()) {
      SCOPED_TRACE(std::string(property) + " <- " + std::string(sample.label));
      StreamBytes s = test::stream_header("TProbe");
      s.str(property).append(sample.bytes).u8({0, 0});
      MemorySource source(s.bytes);
      ProbeSink sink;
      const std::string error = error_of([&] { read_stream_into(source, sink, "TProbe"); });
      if (const auto expected = expected_for(property, sample.label)) {
        EXPECT_EQ(error, "(no error)");
        ASSERT_EQ(sink.stored.count(std::string(property)), 1u);
        EXPECT_TRUE(sink.stored[std::string(property)] == *expected);
        EXPECT_EQ(source.position(), static_cast<int64_t>(s.size()));
      } else {
        EXPECT_EQ(error,
                  "Error reading TProbe." + std::string(property) + ": Invalid property value");
      }
    }
  }
}

}  // namespace
}  // namespace ss
