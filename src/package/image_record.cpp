#include "package/image_record.h"

#include "package/property_stream_writer.h"

namespace ss {
namespace {

using Entry = PropertyEntry<TImage>;

void store_picture(TImage& image, PropertyValue&& value) {
  image.Picture = read_picture_payload(std::get<std::vector<uint8_t>>(value));
}

}  // namespace

std::span<const Entry> image_properties() {
  static const Entry table[] = {
      {{"Left", PropertyType::Integer}, &store_member<TImage, &TImage::Left>},
      {{"Top", PropertyType::Integer}, &store_member<TImage, &TImage::Top>},
      {{"Width", PropertyType::Integer}, &store_member<TImage, &TImage::Width>},
      {{"Height", PropertyType::Integer}, &store_member<TImage, &TImage::Height>},
      {{"Picture.Data", PropertyType::Binary}, store_picture},
  };
  return table;
}

std::vector<uint8_t> write_image_stream(int32_t width, int32_t height,
                                        std::span<const uint8_t> payload) {
  PropertyStreamWriter writer(kImageClassName);
  writer.write_integer("Left", 0);
  writer.write_integer("Top", 0);
  writer.write_integer("Width", width);
  writer.write_integer("Height", height);
  writer.write_binary("Picture.Data", payload);
  return writer.finish();
}

}  // namespace ss
