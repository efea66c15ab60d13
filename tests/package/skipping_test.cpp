// Values of unknown properties are passed over by their tag before the read fails, child
// objects are passed over, and neither can be driven into deep recursion.
#include <gtest/gtest.h>

#include "package/property_stream_reader.h"
#include "probe_sink.h"
#include "stream_bytes.h"

namespace ss {
namespace {

using test::error_of;
using test::ProbeSink;
using test::StreamBytes;

constexpr const char* kUnknownError =
    "Error reading TProbe.Unknown: Property Unknown does not exist";

struct SkipCase {
  const char* label;
  std::vector<uint8_t> value;  // tag and payload
};

std::vector<uint8_t> bytes_of(StreamBytes s) {
  return s.bytes;
}

const std::vector<SkipCase>& skip_cases() {
  static const std::vector<SkipCase> all = {
      {"null", {0}},
      {"list", {1, 2, 5, 6, 1, 'x', 1, 0, 0}},
      {"int8", {2, 1}},
      {"int16", {3, 1, 2}},
      {"int32", {4, 1, 2, 3, 4}},
      {"extended", {5, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {"string", bytes_of(StreamBytes().u8({6}).str("some text"))},
      {"ident", bytes_of(StreamBytes().u8({7}).str("clRed"))},
      {"false", {8}},
      {"true", {9}},
      {"binary", bytes_of(StreamBytes().u8({10}).u32(5).chars(std::string_view("\0\1\2\3\4", 5)))},
      {"set", bytes_of(StreamBytes().u8({11}).str("fsBold").str("fsItalic").u8({0}))},
      {"lstring", bytes_of(StreamBytes().u8({12}).u32(300).chars(std::string(300, 'L')))},
      {"nil", {13}},
      // Two items: one with an order and a property holding a list, one bare.
      {"collection",
       bytes_of(StreamBytes().u8({14, 2, 7, 1}).str("Caption").u8({1, 9, 8, 0}).u8({0, 1, 0, 0}))},
      {"single", {15, 1, 2, 3, 4}},
      {"currency", {16, 1, 2, 3, 4, 5, 6, 7, 8}},
      {"date", {17, 1, 2, 3, 4, 5, 6, 7, 8}},
      {"wstring", bytes_of(StreamBytes().u8({18}).u32(3).chars(std::string(6, 'w')))},
      {"int64", {19, 1, 2, 3, 4, 5, 6, 7, 8}},
      {"utf8", bytes_of(StreamBytes().u8({20}).u32(2).chars("\xC3\xA9"))},
  };
  return all;
}

// After the failure the source stands right after the skipped value: the reader consumed
// exactly the value and gave back the rest of its buffer.
TEST(SkipUnknownProperty, EveryTagIsSkippedWholeThenNamed) {
  for (const SkipCase& c : skip_cases()) {
    SCOPED_TRACE(c.label);
    StreamBytes s = test::stream_header("TProbe");
    s.str("Unknown").append(c.value);
    const auto value_end = static_cast<int64_t>(s.size());
    s.u8({0, 0}).chars("trailing bytes");
    MemorySource source(s.bytes);
    ProbeSink sink;
    EXPECT_EQ(error_of([&] { read_stream_into(source, sink, "TProbe"); }), kUnknownError);
    EXPECT_EQ(source.position(), value_end);
  }
}

TEST(SkipUnknownProperty, MalformedValuesFailInsideTheProperty) {
  struct Case {
    const char* label;
    std::vector<uint8_t> value;
    const char* message;
  };
  const Case cases[] = {
      {"tag beyond the table", {21}, "Invalid stream format"},
      {"tag FF", {0xFF}, "Invalid stream format"},
      {"collection item without a list", {14, 2, 1, 6}, "Invalid stream format"},
      {"binary longer than the stream", bytes_of(StreamBytes().u8({10}).u32(0xFFFFFFFF)),
       "Stream read error"},
      {"wide text count beyond the stream", bytes_of(StreamBytes().u8({18}).u32(0x80000000)),
       "Stream read error"},
      {"unterminated list", {1, 2, 5}, "Stream read error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    StreamBytes s = test::stream_header("TProbe");
    s.str("Unknown").append(c.value);
    MemorySource source(s.bytes);
    ProbeSink sink;
    EXPECT_EQ(error_of([&] { read_stream_into(source, sink, "TProbe"); }),
              std::string("Error reading TProbe.Unknown: ") + c.message);
  }
}

constexpr int kDepth = 100000;

TEST(DeepNesting, HundredThousandNestedListsAreSkipped) {
  StreamBytes s = test::stream_header("TProbe");
  s.str("Unknown");
  s.bytes.insert(s.bytes.end(), kDepth, 1);
  s.bytes.insert(s.bytes.end(), kDepth, 0);
  const auto value_end = static_cast<int64_t>(s.size());
  MemorySource source(s.bytes);
  ProbeSink sink;
  EXPECT_EQ(error_of([&] { read_stream_into(source, sink, "TProbe"); }), kUnknownError);
  EXPECT_EQ(source.position(), value_end);
}

TEST(DeepNesting, HundredThousandNestedCollectionsAreSkipped) {
  StreamBytes s = test::stream_header("TProbe");
  s.str("Unknown");
  for (int i = 0; i < kDepth; ++i) s.u8({14, 1, 1, 'A'});  // collection, item, property A =
  s.u8({0});                                               // innermost value: null
  for (int i = 0; i < kDepth; ++i) s.u8({0, 0});           // end of item, end of collection
  MemorySource source(s.bytes);
  ProbeSink sink;
  EXPECT_EQ(error_of([&] { read_stream_into(source, sink, "TProbe"); }), kUnknownError);
  EXPECT_EQ(source.position(), static_cast<int64_t>(s.size()));
}

TEST(DeepNesting, UnterminatedNestingFailsCleanly) {
  StreamBytes s = test::stream_header("TProbe");
  s.str("Unknown");
  s.bytes.insert(s.bytes.end(), kDepth, 1);
  MemorySource source(s.bytes);
  ProbeSink sink;
  EXPECT_EQ(error_of([&] { read_stream_into(source, sink, "TProbe"); }),
            "Error reading TProbe.Unknown: Stream read error");
}

TEST(ChildObjects, ChildListsArePassedOver) {
  // Root property, then one child with a prefix and child position, a property and a list
  // value, then a grandchild; the root's own property must still arrive.
  StreamBytes s = test::stream_header("TProbe");
  s.str("Integer").u8({2, 7}).u8({0});
  s.u8({0xF2, 2, 3}).str("TChild").str("Child1").str("Caption").u8({1, 2, 1, 0}).u8({0});
  s.str("TGrandChild").str("").u8({0}).u8({0});  // grandchild: no properties, no children
  s.u8({0});                                     // end of Child1's children
  s.u8({0});                                     // end of the root's children
  const auto end = static_cast<int64_t>(s.size());
  s.chars("after");
  MemorySource source(s.bytes);
  ProbeSink sink;
  read_stream_into(source, sink, "TProbe");
  EXPECT_TRUE(sink.stored["Integer"] == PropertyValue{int32_t{7}});
  EXPECT_EQ(source.position(), end);
}

TEST(DeepNesting, HundredThousandNestedChildObjectsArePassedOver) {
  StreamBytes s = test::stream_header("TProbe");
  s.u8({0});                                                    // root properties end
  for (int i = 0; i < kDepth; ++i) s.str("C").str("").u8({0});  // child header, no properties
  s.bytes.insert(s.bytes.end(), kDepth + 1, 0);                 // every child list closes
  MemorySource source(s.bytes);
  ProbeSink sink;
  read_stream_into(source, sink, "TProbe");
  EXPECT_EQ(source.position(), static_cast<int64_t>(s.size()));
}

}  // namespace
}  // namespace ss
