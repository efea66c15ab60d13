#pragma once
// Turns the photos people have (any common format, any orientation, any size) into the baseline
// JPEGs the runtime reads: upright, sRGB, opaque, and within the size asked for and the runtime's
// own limits. A JPEG that already is all of that is kept byte for byte.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace slidemake {

struct IngestOptions {
  int max_width = 3840;
  int max_height = 2160;  // 0,0 = none
  int quality = 90;
};

struct IngestedPicture {
  std::vector<uint8_t> jpeg;
  int width = 0;
  int height = 0;
  bool stored_as_is = false;
};

using Warn = std::function<void(const std::string&)>;

// Throws std::runtime_error whose text names the file and the reason.
IngestedPicture ingest_picture(const std::filesystem::path& file, const IngestOptions& options,
                               const Warn& warn);

// A `pictures` entry: a file, a folder (natural name order) or a glob, relative to base.
std::vector<std::filesystem::path> expand_picture_entry(const std::string& entry,
                                                        const std::filesystem::path& base,
                                                        const Warn& warn);

}  // namespace slidemake
