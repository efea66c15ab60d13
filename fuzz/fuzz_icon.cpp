// Icon files from untrusted bytes: the directory, the choice of entry, packed bitmaps with
// their masks and PNG entries; then the icon is drawn over a background.
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/error.h"
#include "package/icon_graphic.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const auto icon = ss::decode_icon(std::span<const uint8_t>(data, size));
    ss::Bitmap24 target(48, 40);
    icon->draw(target, {4, 4, 4 + ss::kStandardIconSize, 4 + ss::kStandardIconSize});
  } catch (const ss::SaverError&) {
  }
  return 0;
}
