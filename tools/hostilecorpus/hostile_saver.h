#pragma once
// A small saver built in memory with the project's own writers, and the knobs that damage it:
// edited settings, extra bytes in a stream, forged trailer fields, a cut at a region boundary.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "package/ss_file_locations.h"

namespace hostile {

using Bytes = std::vector<uint8_t>;

// Where each region of a built saver ends (the offset of its first byte past the end).
struct Regions {
  int64_t runtime_end = 0;  // the package start
  std::vector<int64_t> picture_ends;
  std::vector<int64_t> music_ends;
  int64_t settings_start = 0;
  int64_t settings_end = 0;  // the trailer's first byte
  int64_t file_end = 0;
};

struct MediaFile {
  std::string name;
  Bytes bytes;
};

struct SaverPlan {
  Bytes runtime;
  std::vector<Bytes> pictures;  // picture streams
  std::vector<MediaFile> music;
  ss::TSSFileLocations settings;  // the lists are filled in by the build

  // Run in this order once the lists are filled: edit the record, rewrite its stream, forge
  // the trailer's two 20-byte fields (given the true package length and settings offset).
  std::function<void(ss::TSSFileLocations&)> edit_settings;
  std::function<Bytes(Bytes)> edit_settings_stream;
  std::function<std::string(int64_t package_length)> field1;
  std::function<std::string(int64_t settings_offset)> field2;
};

struct BuiltSaver {
  Bytes bytes;
  Regions regions;
};

BuiltSaver build(const SaverPlan& plan);

// The saver every case starts from: a runtime stand-in, a bitmap and a JPEG picture, one music
// file "song.mid" and settings titled "Hostile".
SaverPlan base_plan();

// Picture streams as the authoring tool writes them.
Bytes bitmap_picture_stream();
Bytes jpeg_picture_stream();

// A property (short-string name, then the value's bytes) added at the end of a stream's
// property list.
Bytes with_property(Bytes stream, const std::string& name, const Bytes& value);
// Child objects in place of the stream's empty child list.
Bytes with_children(Bytes stream, const Bytes& children);

// Nesting `levels` deep, built without recursion.
Bytes nested_lists(int levels);
Bytes nested_lists_and_collections(int levels);
Bytes nested_children(int levels);

// The offset of `needle` in `haystack`, or -1.
int64_t find(const Bytes& haystack, const std::string& needle);

}  // namespace hostile
