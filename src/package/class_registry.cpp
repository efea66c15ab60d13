#include "package/class_registry.h"

#include "base/error.h"
#include "base/text.h"
#include "package/property_stream_reader.h"
#include "package/ss_file_locations_properties.h"

namespace ss {
namespace {

TablePropertySink<TSSFileLocations> sink_for(TSSFileLocations& settings) {
  return {settings, settings_properties()};
}

TablePropertySink<TImage> sink_for(TImage& image) {
  return {image, image_properties()};
}

}  // namespace

const ClassRegistry& ClassRegistry::global() {
  static const ClassRegistry registry({
      {kSettingsClassName, [] { return StreamRecord(std::in_place_type<TSSFileLocations>); }},
      {kImageClassName, [] { return StreamRecord(std::in_place_type<TImage>); }},
  });
  return registry;
}

const StreamClass* ClassRegistry::find(std::string_view class_name) const {
  for (const StreamClass& entry : classes_)
    if (iequals(entry.name, class_name)) return &entry;
  return nullptr;
}

StreamRecord read_stream_record(ByteSource& source, const ClassRegistry& registry) {
  PropertyStreamReader reader(source);
  const std::string class_name = reader.read_class_name();
  const StreamClass* stream_class = registry.find(class_name);
  if (!stream_class) throw SaverError(class_not_found_message(class_name));
  const std::string object_name = reader.read_object_name();
  StreamRecord record = stream_class->create();
  std::visit(
      [&](auto& typed) {
        auto sink = sink_for(typed);
        reader.read_body(sink, object_name.empty() ? stream_class->name : object_name);
      },
      record);
  return record;
}

void read_stream_into(ByteSource& source, TSSFileLocations& settings) {
  auto sink = sink_for(settings);
  read_stream_into(source, sink, kSettingsClassName);
}

void read_stream_into(ByteSource& source, TImage& image) {
  auto sink = sink_for(image);
  read_stream_into(source, sink, kImageClassName);
}

}  // namespace ss
