#pragma once
// The class registry: the record classes a property stream may name as its root, looked up
// without regard to ASCII case. It holds TSSFileLocations and TImage from the start.
#include <memory>
#include <string_view>
#include <variant>
#include <vector>

#include "base/byte_source.h"
#include "package/image_record.h"
#include "package/ss_file_locations.h"

namespace ss {

// A record read from a stream, of the class the stream names.
using StreamRecord = std::variant<TSSFileLocations, TImage>;

struct StreamClass {
  std::string_view name;
  StreamRecord (*create)();
};

class ClassRegistry {
 public:
  // The process-wide registry.
  static const ClassRegistry& global();

  explicit ClassRegistry(std::vector<StreamClass> classes) : classes_(std::move(classes)) {}
  const StreamClass* find(std::string_view class_name) const;

 private:
  std::vector<StreamClass> classes_;
};

// Reads a stream at the source's position into a new record of the class it names
// ("Class %s not found" when the registry has none). On failure nothing is returned.
StreamRecord read_stream_record(ByteSource& source,
                                const ClassRegistry& registry = ClassRegistry::global());

// Reads a stream into an existing record: the class name is read and not compared, properties
// the stream omits keep their values, and values stored before a failure stay.
void read_stream_into(ByteSource& source, TSSFileLocations& settings);
void read_stream_into(ByteSource& source, TImage& image);

}  // namespace ss
