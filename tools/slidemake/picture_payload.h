#pragma once
// Turns a picture file into the payload a package stores for it: the graphic class name and the
// graphic's data. PNG is converted to BMP, since the runtime reads no PNG.
#include <cstdint>
#include <string>
#include <vector>

namespace slidemake {

struct PicturePayload {
  std::vector<uint8_t> bytes;  // the Picture.Data value
  int32_t width = 0;
  int32_t height = 0;
};

// Checks the result with the runtime's own decoder, so a saver never carries a picture the
// runtime would refuse. Errors name the file and say what is wrong.
PicturePayload make_picture_payload(const std::string& path);
// The payload of a JPEG made in memory (checked the same way).
PicturePayload jpeg_picture_payload(std::vector<uint8_t> jpeg);

}  // namespace slidemake
