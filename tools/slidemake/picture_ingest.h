#pragma once
// Photos on their way into a saver: read in any accepted format, turned upright, shrunk to fit
// the largest screen and stored as JPEG; a JPEG that needs none of that is kept as it is.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace slidemake {

struct IngestOptions {
  int max_width = 3840;  // 0, 0 = no limit
  int max_height = 2160;
  int quality = 90;
};

struct IngestedPicture {
  std::vector<uint8_t> jpeg;
  int width = 0;
  int height = 0;
  bool stored_as_is = false;
};

using Warn = std::function<void(const std::string&)>;

// Errors name the file and say what is wrong.
IngestedPicture ingest_picture(const std::filesystem::path& file, const IngestOptions& options,
                               const Warn& warn);

// A manifest's picture entry as the files it stands for (a file, a folder or a pattern).
std::vector<std::filesystem::path> expand_picture_entry(const std::string& entry,
                                                        const std::filesystem::path& base,
                                                        const Warn& warn);

}  // namespace slidemake
