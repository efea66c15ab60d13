// Comma text from untrusted bytes. Besides not crashing, the list must survive a round trip:
// what the authoring tool writes for a list parses back to the same list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/comma_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ss::CommaList list;
  list.set_comma_text(std::string_view(reinterpret_cast<const char*>(data), size));
  int64_t sum = 0;
  for (int32_t i = 0; i < list.count(); ++i) sum += list.integer(i);
  ss::CommaList again;
  again.set_comma_text(list.comma_text());
  if (!(again == list)) std::abort();
  return sum == 1 ? 1 : 0;  // keeps the conversions from being optimised away
}
