#include "package/property_table.h"

#include "base/text.h"

namespace ss {

// A dot matches only a dot, so comparing whole names without case is the same as comparing
// them segment by segment.
bool property_name_matches(std::string_view declared, std::string_view dotted_name) {
  return iequals(declared, dotted_name);
}

}  // namespace ss
