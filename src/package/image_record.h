#pragma once
// TImage: the record of a picture item. Its bounds are the authoring tool's and are kept but
// not used; Picture.Data carries the picture payload.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "package/picture.h"
#include "package/property_table.h"

namespace ss {

inline constexpr std::string_view kImageClassName = "TImage";

struct TImage {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  ss::Picture Picture;
};

// Left, Top, Width, Height and Picture.Data (decoded by read_picture_payload).
std::span<const PropertyEntry<TImage>> image_properties();

// A picture item as the authoring tool writes it: Left 0, Top 0, Width, Height, then the
// payload (graphic class name and the graphic's data) as Picture.Data.
std::vector<uint8_t> write_image_stream(int32_t width, int32_t height,
                                        std::span<const uint8_t> payload);

}  // namespace ss
