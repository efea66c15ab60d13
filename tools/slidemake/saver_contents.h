#pragma once
// Reads back what a saver carries, for `inspect` and `extract`. Inconsistencies that the runtime
// would not check become warnings here rather than errors.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "package/ss_file_locations.h"

namespace slidemake {

struct ItemInfo {
  int64_t offset = 0;
  int64_t size = 0;  // for pictures: the length of the picture stream
  std::string name;
  std::string graphic;  // pictures: the graphic class, "" for none
  int32_t width = 0;
  int32_t height = 0;
  bool readable = true;
};

struct SaverContents {
  std::string path;
  int64_t file_size = 0;
  int32_t package_length = 0;   // trailer field 1
  int32_t settings_offset = 0;  // trailer field 2
  int64_t package_start = 0;
  ss::TSSFileLocations settings;
  std::vector<ItemInfo> pictures, music, movies;
  std::vector<std::string> warnings;
};

// Throws when the trailer or the settings stream cannot be read: without them nothing else can
// be found.
SaverContents read_saver_contents(const std::string& path);

// The texts and item names in UTF-8, read in the code page the caption font's charset names.
void decode_saver_texts(SaverContents& contents);

// The raw graphic of picture i as it was put in: its class and the original file's bytes.
struct RawPicture {
  std::string graphic_class;
  std::vector<uint8_t> data;
};
RawPicture read_raw_picture(const std::string& path, int64_t offset);

}  // namespace slidemake
