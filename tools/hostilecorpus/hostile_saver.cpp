#include "hostile_saver.h"

#include <algorithm>

#include "gfx/bitmap24.h"
#include "common/bmp_encoder.h"
#include "common/jpeg_encoder.h"
#include "package/image_record.h"
#include "package/settings_stream.h"
#include "package/trailer.h"

namespace hostile {
namespace {

void append(Bytes& to, const Bytes& bytes) {
  to.insert(to.end(), bytes.begin(), bytes.end());
}

void add_element(ss::CommaList& list, const std::string& element) {
  list.items().push_back(element);
}

Bytes counted_payload(const std::string& graphic_class, const Bytes& data) {
  Bytes payload{static_cast<uint8_t>(graphic_class.size())};
  payload.insert(payload.end(), graphic_class.begin(), graphic_class.end());
  const auto n = static_cast<uint32_t>(data.size());
  for (int shift = 0; shift < 32; shift += 8) payload.push_back(static_cast<uint8_t>(n >> shift));
  append(payload, data);
  return payload;
}

ss::Bitmap24 stripes(int32_t w, int32_t h) {
  ss::Bitmap24 image(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) image.set_pixel(x, y, (x / 2) % 2 ? 0x2040C0 : 0xE0E0E0);
  return image;
}

}  // namespace

Bytes bitmap_picture_stream() {
  return ss::write_image_stream(8, 6, counted_payload("TBitmap", ss::encode_bmp(stripes(8, 6))));
}

Bytes jpeg_picture_stream() {
  return ss::write_image_stream(16, 8,
                                counted_payload("TJPEGImage", ss::encode_jpeg(stripes(16, 8), 60)));
}

SaverPlan base_plan() {
  SaverPlan plan;
  plan.runtime = {'M', 'Z'};
  plan.runtime.resize(256, 0x90);
  plan.pictures = {bitmap_picture_stream(), jpeg_picture_stream()};
  plan.music = {{"song.mid", Bytes(100, 'M')}};
  ss::TSSFileLocations& s = plan.settings;
  s.Title = "Hostile";
  s.Author = "Nobody";
  s.Ver = "photo";
  s.Interval = 1000;
  s.EffectCommaList.set_comma_text("1,2");
  s.lShowMouseCursor = true;
  return plan;
}

BuiltSaver build(const SaverPlan& plan) {
  BuiltSaver out;
  Bytes& file = out.bytes;
  file = plan.runtime;
  out.regions.runtime_end = static_cast<int64_t>(file.size());
  ss::TSSFileLocations settings = plan.settings;
  for (const Bytes& picture : plan.pictures) {
    add_element(settings.PicCommaList, std::to_string(file.size()));
    append(file, picture);
    out.regions.picture_ends.push_back(static_cast<int64_t>(file.size()));
  }
  for (const MediaFile& music : plan.music) {
    add_element(settings.SndCommaList, std::to_string(file.size()));
    add_element(settings.SndSizesCommaList, std::to_string(music.bytes.size()));
    add_element(settings.SndFileNamesCommaList, music.name);
    append(file, music.bytes);
    out.regions.music_ends.push_back(static_cast<int64_t>(file.size()));
  }
  if (plan.edit_settings) plan.edit_settings(settings);
  Bytes stream = ss::write_settings_stream(settings);
  if (plan.edit_settings_stream) stream = plan.edit_settings_stream(std::move(stream));
  out.regions.settings_start = static_cast<int64_t>(file.size());
  append(file, stream);
  out.regions.settings_end = static_cast<int64_t>(file.size());

  const int64_t package_length = out.regions.settings_end - out.regions.runtime_end;
  const std::string field1 =
      plan.field1 ? plan.field1(package_length) : ss::format_trailer_field(package_length);
  const std::string field2 = plan.field2 ? plan.field2(out.regions.settings_start)
                                         : ss::format_trailer_field(out.regions.settings_start);
  file.insert(file.end(), field1.begin(), field1.end());
  file.insert(file.end(), field2.begin(), field2.end());
  out.regions.file_end = static_cast<int64_t>(file.size());
  return out;
}

Bytes with_property(Bytes stream, const std::string& name, const Bytes& value) {
  // A package stream ends with 00 00: the end of its properties and its empty child list.
  Bytes property{static_cast<uint8_t>(name.size())};
  property.insert(property.end(), name.begin(), name.end());
  append(property, value);
  stream.insert(stream.end() - 2, property.begin(), property.end());
  return stream;
}

Bytes with_children(Bytes stream, const Bytes& children) {
  stream.pop_back();  // the empty child list
  append(stream, children);
  stream.push_back(0);
  return stream;
}

Bytes nested_lists(int levels) {
  Bytes value(static_cast<size_t>(levels), 1);  // tag 1 opens a list
  value.resize(static_cast<size_t>(levels) * 2, 0);
  return value;
}

Bytes nested_lists_and_collections(int levels) {
  // Even levels are lists, odd levels collections whose one item has a property "N" holding
  // the next level.
  Bytes opening, closing;
  for (int level = 0; level < levels; ++level) {
    if (level % 2 == 0) {
      opening.push_back(1);
      closing.push_back(0);
    } else {
      for (const int b : {14, 1, 1, int{'N'}}) opening.push_back(static_cast<uint8_t>(b));
      closing.push_back(0);  // the item's property list
      closing.push_back(0);  // the collection
    }
  }
  opening.push_back(9);  // the innermost value: true
  std::reverse(closing.begin(), closing.end());
  append(opening, closing);
  return opening;
}

Bytes nested_children(int levels) {
  // Each child: class "C", an empty name, no properties, then its own child list.
  Bytes children;
  for (int level = 0; level < levels; ++level)
    for (const int b : {1, int{'C'}, 0, 0}) children.push_back(static_cast<uint8_t>(b));
  children.resize(children.size() + static_cast<size_t>(levels), 0);
  return children;
}

int64_t find(const Bytes& haystack, const std::string& needle) {
  const auto at = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end());
  return at == haystack.end() ? -1 : at - haystack.begin();
}

}  // namespace hostile
