// One property stream from untrusted bytes: read into a new record of the class it names, and
// into an existing record of the other class, as the show and the setup dialog do.
#include <cstddef>
#include <cstdint>
#include <span>
#include <variant>

#include "gfx/bitmap24.h"
#include "base/error.h"
#include "package/class_registry.h"

namespace {

// Draws the picture small, so that a JPEG is decoded too, at the scale a preview would use.
void draw_small(const ss::TImage& image) {
  const ss::Graphic* graphic = image.Picture.graphic();
  if (graphic == nullptr || graphic->empty()) return;
  ss::Bitmap24 target(64, 48);
  graphic->draw(target, target.bounds());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  bool named_settings = false;
  try {
    ss::MemorySource source(bytes);
    ss::StreamRecord record = ss::read_stream_record(source);
    if (const auto* image = std::get_if<ss::TImage>(&record)) draw_small(*image);
    named_settings = std::holds_alternative<ss::TSSFileLocations>(record);
  } catch (const ss::SaverError&) {
  }
  // The class name is not compared when reading into an existing record.
  try {
    ss::MemorySource source(bytes);
    if (named_settings) {
      ss::TImage image;
      ss::read_stream_into(source, image);
      draw_small(image);
    } else {
      ss::TSSFileLocations settings;
      ss::read_stream_into(source, settings);
    }
  } catch (const ss::SaverError&) {
  }
  return 0;
}
