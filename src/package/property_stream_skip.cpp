// Passing over a tagged value by its tag. Lists and collections nest to any depth; an explicit
// stack on the heap (one entry per open level, each level at least one byte of input) stands in
// for recursion, so a hostile stream cannot overflow the call stack.
#include <vector>

#include "base/error.h"
#include "package/property_stream_reader.h"
#include "package/stream_values.h"

namespace ss {

void PropertyStreamReader::skip_scalar(uint8_t tag) {
  switch (static_cast<ValueTag>(tag)) {
    case ValueTag::Null:
    case ValueTag::False:
    case ValueTag::True:
    case ValueTag::Nil:
      return;
    case ValueTag::Int8:
      return in_.skip(1);
    case ValueTag::Int16:
      return in_.skip(2);
    case ValueTag::Int32:
    case ValueTag::Single:
      return in_.skip(4);
    case ValueTag::Currency:
    case ValueTag::Date:
    case ValueTag::Int64:
      return in_.skip(8);
    case ValueTag::Extended:
      return in_.skip(10);
    case ValueTag::String:
    case ValueTag::Ident:
      return in_.skip(in_.read_byte());
    case ValueTag::Binary:
    case ValueTag::LString:
    case ValueTag::Utf8String:
      return in_.skip(in_.read_u32());
    case ValueTag::WString:
      return in_.skip(uint64_t{in_.read_u32()} * 2);
    case ValueTag::Set:
      while (const uint8_t length = in_.read_byte()) in_.skip(length);
      return;
    case ValueTag::List:
    case ValueTag::Collection:
      break;  // composite: skip_value's business
  }
  throw SaverError(kInvalidStreamFormat);
}

void PropertyStreamReader::skip_value(uint8_t tag) {
  // What each open level is waiting for.
  enum class Open : uint8_t {
    List,            // values until a 0 tag
    Collection,      // items until a 0 tag
    ItemProperties,  // a collection item's properties until an empty name
  };
  std::vector<Open> open;
  auto begin_value = [&](uint8_t value_tag) {
    if (value_tag == tag_byte(ValueTag::List))
      open.push_back(Open::List);
    else if (value_tag == tag_byte(ValueTag::Collection))
      open.push_back(Open::Collection);
    else
      skip_scalar(value_tag);
  };

  begin_value(tag);
  while (!open.empty()) {
    switch (open.back()) {
      case Open::List:
        if (const uint8_t next = in_.read_byte())
          begin_value(next);
        else
          open.pop_back();
        break;
      case Open::Collection: {
        uint8_t next = in_.read_byte();
        if (next == 0) {
          open.pop_back();
          break;
        }
        if (is_integer_tag(next)) {  // the item's order
          skip_scalar(next);
          next = in_.read_byte();
        }
        if (next != tag_byte(ValueTag::List)) throw SaverError(kInvalidStreamFormat);
        open.push_back(Open::ItemProperties);
        break;
      }
      case Open::ItemProperties:
        if (const uint8_t length = in_.read_byte()) {
          in_.skip(length);
          begin_value(in_.read_byte());
        } else {
          open.pop_back();
        }
        break;
    }
  }
}

}  // namespace ss
